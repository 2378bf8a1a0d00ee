# Compile options every target of this tree gets, set per target so that a
# project adding the engine to its own tree keeps its own flags:
#   vq_target_options(<target>)    warnings, and the sanitizers when VQ_SANITIZE is on
include_guard(GLOBAL)

option(VQ_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(vq_target_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(VQ_SANITIZE)
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "STATIC_LIBRARY" AND NOT type STREQUAL "OBJECT_LIBRARY")
            target_link_options(${target} PRIVATE -fsanitize=address,undefined)
        endif()
    endif()
endfunction()
