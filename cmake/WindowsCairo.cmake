# cairo for the Windows editor: the static MinGW libraries that
# scripts/build-windows-deps.sh builds (its prefix is VEXBIT_WINDOWS_DEPS),
# as the target vexbit_windows_cairo.
set(VEXBIT_WINDOWS_DEPS "" CACHE PATH "Prefix of the MinGW cairo, pixman, libpng and zlib (scripts/build-windows-deps.sh)")
if(NOT VEXBIT_WINDOWS_DEPS OR NOT EXISTS "${VEXBIT_WINDOWS_DEPS}/lib/libcairo.a")
  message(FATAL_ERROR "The Windows editor needs cairo for MinGW: set VEXBIT_WINDOWS_DEPS to the prefix "
                      "scripts/build-windows-deps.sh prints (scripts/build-windows.sh does this)")
endif()
add_library(vexbit_windows_cairo INTERFACE)
target_include_directories(vexbit_windows_cairo SYSTEM INTERFACE
  "${VEXBIT_WINDOWS_DEPS}/include/cairo" "${VEXBIT_WINDOWS_DEPS}/include")
# Static cairo must not declare its functions as DLL imports. Its configure
# builds with _FORTIFY_SOURCE, whose checks live in libssp.
target_compile_definitions(vexbit_windows_cairo INTERFACE CAIRO_WIN32_STATIC_BUILD)
target_link_libraries(vexbit_windows_cairo INTERFACE
  "${VEXBIT_WINDOWS_DEPS}/lib/libcairo.a"
  "${VEXBIT_WINDOWS_DEPS}/lib/libpixman-1.a"
  "${VEXBIT_WINDOWS_DEPS}/lib/libpng16.a"
  "${VEXBIT_WINDOWS_DEPS}/lib/libz.a"
  gdi32 msimg32 ssp)
