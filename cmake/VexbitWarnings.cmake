# Strict warnings for our own code only (the SDK sources compile as they are).
# GCC 12 reports a false -Wrestrict inside libstdc++ for `"text" + std::string`
# at -O3 (GCC bug 105651), so that one warning is not turned into an error.
function(vexbit_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
    $<$<CXX_COMPILER_ID:GNU>:-Wno-error=restrict>)
endfunction()
