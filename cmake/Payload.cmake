# The payload: the ZIP archive of every file the installer installs, linked into the program.
# SORNA_PAYLOAD names the product's files, either a folder (zipped at build time) or a ready
# .zip; left empty, a generated demo payload with the same layout stands in. Whatever the
# source, payload_tool check runs at build time and the build fails with its message.
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

if(SORNA_PAYLOAD STREQUAL "")
    set(SORNA_DEMO_PAYLOAD ON)
    add_custom_command(OUTPUT ${payload_zip}
        COMMAND ${payload_tool_command} demo ${payload_zip}
        DEPENDS ${payload_tool_depends}
        COMMENT "Generating the demo payload"
        VERBATIM)
else()
    set(SORNA_DEMO_PAYLOAD OFF)
    get_filename_component(payload_source "${SORNA_PAYLOAD}" ABSOLUTE)
    if(IS_DIRECTORY "${payload_source}")
        # Every file is a dependency, so changing the product's files zips them again.
        file(GLOB_RECURSE payload_inputs CONFIGURE_DEPENDS "${payload_source}/*")
        add_custom_command(OUTPUT ${payload_zip}
            COMMAND ${payload_tool_command} zip ${payload_source} ${payload_zip}
            DEPENDS ${payload_tool_depends} ${payload_inputs}
            COMMENT "Zipping the payload from ${payload_source}"
            VERBATIM)
    elseif(EXISTS "${payload_source}")
        set(payload_zip ${payload_source})
    else()
        message(FATAL_ERROR "SORNA_PAYLOAD is neither a folder nor a file: \"${SORNA_PAYLOAD}\"")
    endif()
endif()

set(payload_checked ${payload_folder}/Sorna.zip.checked)
add_custom_command(OUTPUT ${payload_checked}
    COMMAND ${payload_tool_command} check ${payload_zip}
    COMMAND ${CMAKE_COMMAND} -E touch ${payload_checked}
    DEPENDS ${payload_tool_depends} ${payload_zip}
    COMMENT "Checking the payload"
    VERBATIM)

sorna_embed(sorna_payload_sources payload ${payload_zip} DEPENDS ${payload_checked})
