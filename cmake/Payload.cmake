# A program of this build as a payload entry, stripped as the installer itself is. A Windows
# program is stripped (and signed) when it is linked, and a signature must not be touched.
function(sorna_payload_program entry target)
    set(file ${payload_folder}/programs/${entry})
    if(CMAKE_STRIP AND NOT WIN32)
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

# The payload with this build's programs (included once the program targets exist): the demo
# application stands in for the product's "Sorna.exe" in the demo, and the uninstaller goes
# into the demo and into a product folder that has no "Uninstall.exe" of its own (a folder's
# own file wins). A ready ZIP is used as it is. Instrumented builds (sanitizers, fuzzing) run
# only the headless tests, and their programs are many times the size: their demo keeps the
# placeholders.
set(payload_programs)
set(payload_program_files)
set(instrumented_demo OFF)
if(payload_mode STREQUAL "demo" AND (SORNA_SANITIZE OR SORNA_FUZZ))
    set(instrumented_demo ON)
endif()
if(payload_mode STREQUAL "demo" AND NOT instrumented_demo AND TARGET SornaDemo)
    sorna_payload_program(${SORNA_EXECUTABLE_NAME} SornaDemo)
endif()
if(NOT payload_mode STREQUAL "ready" AND NOT instrumented_demo AND TARGET SornaUninstaller)
    sorna_payload_program(${SORNA_UNINSTALLER_NAME} SornaUninstaller)
endif()
if(TARGET SornaUninstaller)
    # The uninstaller carries the list of the content files.
    add_dependencies(SornaUninstaller sorna_content_list)
endif()

if(payload_mode STREQUAL "demo")
    add_custom_command(OUTPUT ${payload_zip}
        COMMAND ${payload_tool_command} demo ${payload_zip} ${payload_programs}
        DEPENDS ${payload_tool_depends} ${payload_program_files}
        COMMENT "Generating the demo payload"
        VERBATIM)
elseif(payload_mode STREQUAL "folder")
    # The programs added to the folder take SOURCE_DATE_EPOCH's time when the builder sets one;
    # naming it in the command zips the folder again when it changes.
    set(release_time)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(release_time ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH})
    endif()
    add_custom_command(OUTPUT ${payload_zip}
        COMMAND ${release_time} ${payload_tool_command} zip ${payload_source} ${payload_zip} ${payload_programs}
        DEPENDS ${payload_tool_depends} ${payload_inputs} ${payload_program_files}
        COMMENT "Zipping the payload from ${payload_source}"
        VERBATIM)
endif()

set(payload_checked ${payload_folder}/Sorna.zip.checked)
add_custom_command(OUTPUT ${payload_checked}
    COMMAND ${payload_tool_command} check ${payload_zip}
    COMMAND ${CMAKE_COMMAND} -E touch ${payload_checked}
    DEPENDS ${payload_tool_depends} ${payload_zip}
    COMMENT "Checking the payload"
    VERBATIM)

sorna_embed(sorna_payload_sources payload ${payload_zip} DEPENDS ${payload_checked})
