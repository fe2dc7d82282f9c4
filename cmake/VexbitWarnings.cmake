# Strict warnings for our own code only (the SDK sources compile as they are).
function(vexbit_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
