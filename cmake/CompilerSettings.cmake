# Warnings and sanitizers for every target of the project.
function(pontrel_target_settings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports overlapping copies inside std::string that cannot happen (-Wrestrict,
        # GCC bug 105651) at -O2; the warning says nothing about our code there.
        target_compile_options(${target} PRIVATE -Wshadow=local -Wno-restrict)
    endif()
    if(PONTREL_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(PONTREL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
