# The payload's source and content, before the programs that go into the payload are defined:
# SORNA_PAYLOAD names the product's files, either a folder (zipped at build time) or a ready
# .zip; left empty, a generated demo payload with the same layout stands in. The uninstaller's
# list of content files is made from here. cmake/Payload.cmake then adds the programs.
set(SORNA_PAYLOAD "" CACHE PATH "The product's files for the installer: a folder or a .zip (empty: demo payload)")

if(CMAKE_CROSSCOMPILING)
    set(SORNA_HOST_PAYLOAD_TOOL "" CACHE FILEPATH "payload_tool built for the build machine (from a native build's tools/)")
    if(NOT SORNA_HOST_PAYLOAD_TOOL OR NOT EXISTS "${SORNA_HOST_PAYLOAD_TOOL}")
        message(FATAL_ERROR "A cross build runs payload_tool on the build machine: build it natively "
                            "(cmake --build <native build> --target payload_tool) and pass "
                            "-DSORNA_HOST_PAYLOAD_TOOL=<native build>/tools/payload_tool "
                            "(now: \"${SORNA_HOST_PAYLOAD_TOOL}\")")
    endif()
    set(payload_tool_command ${SORNA_HOST_PAYLOAD_TOOL})
    set(payload_tool_depends ${SORNA_HOST_PAYLOAD_TOOL})
else()
    set(payload_tool_command $<TARGET_FILE:payload_tool>)
    set(payload_tool_depends payload_tool)
endif()

set(payload_folder ${CMAKE_BINARY_DIR}/payload)
set(payload_zip ${payload_folder}/Sorna.zip)

# The payload's content without the programs this build makes. The uninstaller's list of the
# files it placed comes from it (unless SORNA_CONTENT_LIST names a list of its own), so that
# the list does not depend on the uninstaller it is linked into. A ready ZIP is its own content.
set(payload_content_zip ${payload_folder}/Content.zip)
set(payload_content_list "")
if(NOT SORNA_CONTENT_LIST)
    set(payload_content_list ${payload_folder}/Content.txt)
    set(SORNA_CONTENT_LIST ${payload_content_list})
endif()

if(SORNA_PAYLOAD STREQUAL "")
    set(SORNA_DEMO_PAYLOAD ON)
    set(payload_mode demo)
    add_custom_command(OUTPUT ${payload_content_zip}
        COMMAND ${payload_tool_command} demo ${payload_content_zip}
        DEPENDS ${payload_tool_depends}
        COMMENT "Generating the demo payload's content"
        VERBATIM)
else()
    set(SORNA_DEMO_PAYLOAD OFF)
    get_filename_component(payload_source "${SORNA_PAYLOAD}" ABSOLUTE)
    if(IS_DIRECTORY "${payload_source}")
        set(payload_mode folder)
        # Every file is a dependency, so changing the product's files zips them again.
        file(GLOB_RECURSE payload_inputs CONFIGURE_DEPENDS "${payload_source}/*")
        add_custom_command(OUTPUT ${payload_content_zip}
            COMMAND ${payload_tool_command} zip ${payload_source} ${payload_content_zip}
            DEPENDS ${payload_tool_depends} ${payload_inputs}
            COMMENT "Zipping the payload's content from ${payload_source}"
            VERBATIM)
    elseif(EXISTS "${payload_source}")
        set(payload_mode ready)
        set(payload_zip ${payload_source})
        set(payload_content_zip ${payload_source})
    else()
        message(FATAL_ERROR "SORNA_PAYLOAD is neither a folder nor a file: \"${SORNA_PAYLOAD}\"")
    endif()
endif()

if(payload_content_list)
    add_custom_command(OUTPUT ${payload_content_list}
        COMMAND ${payload_tool_command} content-list ${payload_content_zip} ${payload_content_list}
        DEPENDS ${payload_tool_depends} ${payload_content_zip}
        COMMENT "Listing the payload's content for the uninstaller"
        VERBATIM)
endif()

add_custom_target(sorna_content_list DEPENDS ${SORNA_CONTENT_LIST})
