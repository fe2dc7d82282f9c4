# Strict warnings for our own code only (the SDK sources compile as they are).
# Warnings become errors only where we ask for it (the test script and CI):
# other compilers and versions than ours warn differently, and a user's or a
# packager's build must not fail over a new warning.
option(VEXBIT_WARNINGS_AS_ERRORS "Treat warnings in our own code as errors" OFF)

# GCC 12 reports a false -Wrestrict inside libstdc++ for `"text" + std::string`
# at -O3 (GCC bug 105651), so that one warning is not turned into an error.
function(vexbit_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VEXBIT_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror $<$<CXX_COMPILER_ID:GNU>:-Wno-error=restrict>)
  endif()
endfunction()
