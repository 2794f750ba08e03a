# Warnings for our own targets only; GLFW is built with its own flags.
function(zephyrine_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
    if(ZEPHYRINE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
