# Per-target build settings shared by every Kelvane target.

# Warnings: on and at zero.
function(kelvane_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
                                             -Wold-style-cast -Woverloaded-virtual -Werror=return-type)
endfunction()

# Sanitizers, when the build asks for them: address and undefined behaviour (KELVANE_SANITIZE), or
# threads (KELVANE_TSAN). The thread sanitizer cannot share a process with the address sanitizer.
if(KELVANE_SANITIZE AND KELVANE_TSAN)
    message(FATAL_ERROR "KELVANE_SANITIZE and KELVANE_TSAN exclude each other; choose one")
endif()

function(kelvane_set_sanitizers target)
    if(KELVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                 -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    elseif(KELVANE_TSAN)
        target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=thread)
    endif()
endfunction()

function(kelvane_target_defaults target)
    kelvane_set_warnings(${target})
    kelvane_set_sanitizers(${target})
endfunction()
