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

# A program of this build as a payload entry, stripped as the installer itself is.
function(sorna_payload_program entry target)
    set(file ${payload_folder}/programs/${entry})
    if(CMAKE_STRIP)
        set(command ${CMAKE_STRIP} -o ${file} $<TARGET_FILE:${target}>)
    else()
        set(command ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${file})
    endif()
    add_custom_command(OUTPUT ${file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${payload_folder}/programs
        COMMAND ${command}
        DEPENDS ${target}
        COMMENT "Adding ${entry} to the payload"
        VERBATIM)
    set(payload_programs ${payload_programs} ${entry}=${file} PARENT_SCOPE)
    set(payload_program_files ${payload_program_files} ${file} PARENT_SCOPE)
endfunction()

# The payload with this build's programs: the demo application stands in for the product's
# "Sorna.exe" in the demo, and the uninstaller goes into the demo and into a product folder that
# has no "Uninstall.exe" of its own (a folder's own file wins). A ready ZIP is used as it is.
# Deferred to the end of the configuration, when the program targets exist. Instrumented
# builds (sanitizers, fuzzing) run only the headless tests, and their programs are many times
# the size: their demo keeps the placeholders.
function(sorna_payload_rules)
    set(payload_programs)
    set(payload_program_files)
    set(instrumented_demo OFF)
    if(payload_mode STREQUAL "demo" AND (SORNA_SANITIZE OR SORNA_FUZZ))
        set(instrumented_demo ON)
    endif()
    if(payload_mode STREQUAL "demo" AND NOT instrumented_demo AND TARGET SornaDemo)
        sorna_payload_program(Sorna.exe SornaDemo)
    endif()
    if(NOT payload_mode STREQUAL "ready" AND NOT instrumented_demo AND TARGET SornaUninstaller)
        sorna_payload_program(Uninstall.exe SornaUninstaller)
    endif()

    if(payload_mode STREQUAL "demo")
        add_custom_command(OUTPUT ${payload_zip}
            COMMAND ${payload_tool_command} demo ${payload_zip} ${payload_programs}
            DEPENDS ${payload_tool_depends} ${payload_program_files}
            COMMENT "Generating the demo payload"
            VERBATIM)
    elseif(payload_mode STREQUAL "folder")
        add_custom_command(OUTPUT ${payload_zip}
            COMMAND ${payload_tool_command} zip ${payload_source} ${payload_zip} ${payload_programs}
            DEPENDS ${payload_tool_depends} ${payload_inputs} ${payload_program_files}
            COMMENT "Zipping the payload from ${payload_source}"
            VERBATIM)
    endif()

    if(payload_content_list AND TARGET SornaUninstaller)
        add_custom_target(sorna_content_list DEPENDS ${payload_content_list})
        add_dependencies(SornaUninstaller sorna_content_list)
    endif()
endfunction()
cmake_language(DEFER CALL sorna_payload_rules)

set(payload_checked ${payload_folder}/Sorna.zip.checked)
add_custom_command(OUTPUT ${payload_checked}
    COMMAND ${payload_tool_command} check ${payload_zip}
    COMMAND ${CMAKE_COMMAND} -E touch ${payload_checked}
    DEPENDS ${payload_tool_depends} ${payload_zip}
    COMMENT "Checking the payload"
    VERBATIM)

sorna_embed(payload ${payload_zip} DEPENDS ${payload_checked})
