# Install helpers shared by the deliverables' CMakeLists.txt.

# vanmoor_install_man_page(<page> COMPONENT <component>)
# Compresses the roff page <page> (relative to the calling directory, named like "kestrun.1")
# with gzip -9n, as Debian expects, and installs it into the man section its suffix names.
function(vanmoor_install_man_page page)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMPONENT" "")
    if(NOT arg_COMPONENT)
        message(FATAL_ERROR "vanmoor_install_man_page(${page}): COMPONENT is missing")
    endif()
    get_filename_component(name "${page}" NAME)
    string(REGEX MATCH "[1-9]$" section "${name}")
    if(NOT section)
        message(FATAL_ERROR "vanmoor_install_man_page(${page}): no section suffix like .1")
    endif()
    set(source "${CMAKE_CURRENT_SOURCE_DIR}/${page}")
    set(compressed "${CMAKE_CURRENT_BINARY_DIR}/man/${name}.gz")
    # -n leaves out name and time stamp, so that packages build reproducibly.
    add_custom_command(OUTPUT "${compressed}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/man"
        COMMAND gzip -9nc "${source}" > "${compressed}"
        DEPENDS "${source}"
        COMMENT "Compressing man page ${name}"
        VERBATIM)
    add_custom_target(man-${name} ALL DEPENDS "${compressed}")
    install(FILES "${compressed}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}"
            COMPONENT ${arg_COMPONENT})
endfunction()
