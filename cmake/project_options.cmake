# Compiler warnings and sanitizers shared by the library, tests, benchmarks and tools.

function(veltcore_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VELTCORE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Sanitizers apply to everything built in this tree, so that the library and the
# programs that load it share one runtime.
if(VELTCORE_SANITIZE)
  add_compile_options(-fsanitize=${VELTCORE_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${VELTCORE_SANITIZE})
endif()
