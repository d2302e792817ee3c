# Per-target build settings shared by every Kelvane target.

# Warnings: on and at zero.
function(kelvane_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
                                             -Wold-style-cast -Woverloaded-virtual -Werror=return-type)
endfunction()

# Address and undefined-behaviour sanitizers, when the build asks for them.
function(kelvane_set_sanitizers target)
    if(KELVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                 -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

function(kelvane_target_defaults target)
    kelvane_set_warnings(${target})
    kelvane_set_sanitizers(${target})
endfunction()
