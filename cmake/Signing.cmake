# Authenticode signing of our Windows programs. With SORNA_SIGN_PKCS12 naming a code-signing
# certificate (PKCS#12, its password in the environment variable SORNA_SIGN_PASSWORD at build
# time), each program given to sorna_sign is signed with SHA-256 right after it is linked and
# stripped, so the uninstaller can be signed before it is packed into the installer's payload.
set(SORNA_SIGN_PKCS12 "" CACHE FILEPATH "Code-signing certificate (.p12) for the Windows programs; empty: unsigned")
set(SORNA_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping server for the signatures (optional)")

# A failed signing removes every program signed in this build folder, not just the one that
# failed: the build stops there, and an installer left by an earlier unsigned build would
# otherwise stay where a signed one was asked for. The top-level CMakeLists.txt writes the list
# of them once every program is defined.
set(sorna_signed_programs ${CMAKE_BINARY_DIR}/signed-programs.txt)
function(sorna_write_signed_programs)
    if(SORNA_SIGN_PKCS12 STREQUAL "")
        return()
    endif()
    get_property(targets GLOBAL PROPERTY sorna_signed_targets)
    set(files)
    foreach(target IN LISTS targets)
        list(APPEND files "$<TARGET_FILE:${target}>")
    endforeach()
    list(JOIN files "\n" content)
    file(GENERATE OUTPUT ${sorna_signed_programs} CONTENT "${content}\n")
endfunction()

# sorna_sign(target [DESCRIPTION text]): strips the program, then signs it when a certificate
# is set, with the description that Windows shows in its elevation prompt (default: the
# product's name). Signing comes last: any later change to the file breaks its signature.
function(sorna_sign target)
    cmake_parse_arguments(arg "" "DESCRIPTION" "" ${ARGN})
    if(NOT arg_DESCRIPTION)
        set(arg_DESCRIPTION "${SORNA_PRODUCT_NAME}")
    endif()
    # strip stamps the PE header with the current time unless SOURCE_DATE_EPOCH says otherwise;
    # 0 keeps the header as the linker left it (--no-insert-timestamp), the same on every build.
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} $<TARGET_FILE:${target}>
        VERBATIM)

    if(NOT SORNA_SIGN_PKCS12 STREQUAL "")
        find_program(SORNA_OSSLSIGNCODE osslsigncode REQUIRED)
        find_program(SORNA_OPENSSL openssl REQUIRED)
        get_filename_component(certificate "${SORNA_SIGN_PKCS12}" ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY sorna_signed_targets ${target})
        # The password never appears on a command line: the script reads it from the environment.
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_SOURCE_DIR}/cmake/sign-windows-program.sh $<TARGET_FILE:${target}>
                    ${certificate} "${SORNA_SIGN_TIMESTAMP_URL}" "${arg_DESCRIPTION}"
                    ${SORNA_OSSLSIGNCODE} ${SORNA_OPENSSL} ${sorna_signed_programs}
            VERBATIM)
        # A new certificate at the same path signs again.
        if(EXISTS "${certificate}")
            set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${certificate}")
        endif()
    endif()
endfunction()
