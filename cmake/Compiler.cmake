# Warnings and sanitizers shared by every target of the project.
add_library(vellumo_warnings INTERFACE)
target_compile_options(vellumo_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
    -Wimplicit-fallthrough)

if(VELLUMO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Creates a module library named vellumo_<name> from the sources given.
function(vellumo_module name)
    add_library(vellumo_${name} STATIC ${ARGN})
    target_include_directories(vellumo_${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(vellumo_${name} PRIVATE vellumo_warnings)
endfunction()
