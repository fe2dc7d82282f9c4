# The VST 3 SDK sources as one static library, built without our warning flags.
set(_sdk "${VST3_SDK_ROOT}")
if(NOT EXISTS "${_sdk}/pluginterfaces/base/funknown.h")
  message(FATAL_ERROR "VST3_SDK_ROOT=${_sdk} does not hold the VST 3 SDK (run scripts/setup.sh)")
endif()

set(VST3_SDK_SOURCES
  ${_sdk}/base/source/baseiids.cpp
  ${_sdk}/base/source/fbuffer.cpp
  ${_sdk}/base/source/fdebug.cpp
  ${_sdk}/base/source/fobject.cpp
  ${_sdk}/base/source/fstreamer.cpp
  ${_sdk}/base/source/fstring.cpp
  ${_sdk}/base/source/updatehandler.cpp
  ${_sdk}/base/thread/source/flock.cpp
  ${_sdk}/pluginterfaces/base/conststringtable.cpp
  ${_sdk}/pluginterfaces/base/coreiids.cpp
  ${_sdk}/pluginterfaces/base/funknown.cpp
  ${_sdk}/pluginterfaces/base/ustring.cpp
  ${_sdk}/public.sdk/source/common/memorystream.cpp
  ${_sdk}/public.sdk/source/common/pluginview.cpp
  ${_sdk}/public.sdk/source/vst/hosting/hostclasses.cpp
  ${_sdk}/public.sdk/source/vst/hosting/pluginterfacesupport.cpp
  ${_sdk}/public.sdk/source/vst/vstbus.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponent.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
  ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
  ${_sdk}/public.sdk/source/vst/vstinitiids.cpp
  ${_sdk}/public.sdk/source/vst/vstparameters.cpp
  ${_sdk}/public.sdk/source/vst/vstpresetfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdk_common_iids.cpp
)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  list(APPEND VST3_SDK_SOURCES ${CMAKE_CURRENT_LIST_DIR}/sdk_linux_iids.cpp)
endif()

add_library(vst3_sdk STATIC ${VST3_SDK_SOURCES})
target_include_directories(vst3_sdk SYSTEM PUBLIC "${_sdk}")
target_compile_definitions(vst3_sdk PUBLIC RELEASE=1)
target_compile_options(vst3_sdk PRIVATE -w)
find_package(Threads REQUIRED)
target_link_libraries(vst3_sdk PUBLIC Threads::Threads ${CMAKE_DL_LIBS})
if(WIN32)
  # FUID generation asks COM for new GUIDs.
  target_link_libraries(vst3_sdk PUBLIC ole32)
endif()
