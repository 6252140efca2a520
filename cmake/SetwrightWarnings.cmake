# setwright_warnings(<target>): the project's warning set, errors when SETWRIGHT_WERROR is on.
function(setwright_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                           -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast)
    if(SETWRIGHT_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
