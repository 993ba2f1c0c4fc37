# The Windows side of the JUCE build (mingw-w64 i686, see cmake/toolchains/mingw-i686.cmake).
# Included by cmake/Juce.cmake before the JUCE libraries are made: it points juce_source_root
# at a patched copy of the modules, and its function adds the Windows libraries afterwards.

# JUCE 7.0.5 needs a few fixes for 32-bit mingw and for systems without a working DXGI (Wine).
# They are applied to a copy of the modules in the build tree, never to the original.
set(juce_patches_dir ${CMAKE_SOURCE_DIR}/cmake/patches)
file(GLOB juce_patches ${juce_patches_dir}/*.patch)
list(SORT juce_patches)
set(juce_patched_root ${CMAKE_BINARY_DIR}/juce-patched)
set(juce_patch_key "${JUCE_MODULES_DIR}")
foreach(patch IN LISTS juce_patches)
    file(SHA256 ${patch} patch_hash)
    string(APPEND juce_patch_key ";${patch_hash}")
endforeach()
set(juce_patch_stamp ${juce_patched_root}/patches.stamp)
set(juce_patch_done "")
if(EXISTS ${juce_patch_stamp})
    file(READ ${juce_patch_stamp} juce_patch_done)
endif()
if(NOT juce_patch_done STREQUAL juce_patch_key)
    find_program(SORNA_PATCH patch REQUIRED)
    file(REMOVE_RECURSE ${juce_patched_root})
    file(MAKE_DIRECTORY ${juce_patched_root}/modules)
    foreach(module IN LISTS juce_module_names)
        file(COPY ${JUCE_MODULES_DIR}/${module} DESTINATION ${juce_patched_root}/modules)
    endforeach()
    foreach(patch IN LISTS juce_patches)
        # Debian's sources have CRLF line ends; the patches are kept with plain ones.
        file(STRINGS ${patch} patched_files REGEX "^\\+\\+\\+ b/")
        foreach(line IN LISTS patched_files)
            string(REGEX REPLACE "^\\+\\+\\+ b/([^\t ]+).*" "\\1" patched_file "${line}")
            file(READ ${juce_patched_root}/modules/${patched_file} content)
            string(REPLACE "\r\n" "\n" content "${content}")
            file(WRITE ${juce_patched_root}/modules/${patched_file} "${content}")
        endforeach()
        execute_process(COMMAND ${SORNA_PATCH} -p1 --batch --forward -s -i ${patch}
                        WORKING_DIRECTORY ${juce_patched_root}/modules RESULT_VARIABLE patch_result)
        if(NOT patch_result EQUAL 0)
            message(FATAL_ERROR "Could not apply ${patch} to the JUCE modules")
        endif()
    endforeach()
    file(WRITE ${juce_patch_stamp} "${juce_patch_key}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${juce_patches})

set(juce_source_root ${juce_patched_root}/modules)

# libpng and libjpeg built for mingw by scripts/build-windows; zlib from libz-mingw-w64-dev.
set(SORNA_MINGW_PREFIX "" CACHE PATH "Install prefix of the mingw builds of libpng and libjpeg")
find_path(SORNA_PNG_INCLUDE png.h PATHS ${SORNA_MINGW_PREFIX}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_library(SORNA_PNG_LIBRARY NAMES png16 png PATHS ${SORNA_MINGW_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_library(SORNA_JPEG_LIBRARY NAMES jpeg PATHS ${SORNA_MINGW_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_library(SORNA_ZLIB_LIBRARY NAMES libz.a z REQUIRED)

# Every system DLL but the C runtime and kernel32 is delay-loaded: a program imports no other
# DLL when it starts, and platform/windows/SystemDllsOnly.cpp loads each one from the system
# folder when it is first used, so that the DLLs these import come from there too. Their
# delay-import libraries are made from mingw's import libraries, once per build folder.
set(sorna_delay_loaded_dlls advapi32 comdlg32 dxgi gdi32 imm32 ole32 oleaut32 shell32 shlwapi user32
                            version wininet winmm ws2_32)
find_program(SORNA_NM ${SORNA_MINGW_TRIPLET}-nm REQUIRED)
find_program(SORNA_DLLTOOL ${SORNA_MINGW_TRIPLET}-dlltool REQUIRED)
set(delay_folder ${CMAKE_BINARY_DIR}/delay-import)
set(sorna_delay_import_libraries)
set(delay_stub_references "")
foreach(dll IN LISTS sorna_delay_loaded_dlls)
    find_library(SORNA_IMPORT_LIBRARY_${dll} NAMES lib${dll}.a REQUIRED)
    # Every function the import library offers, as "Name@bytes" for dlltool, which imports it
    # by its plain name (--kill-at).
    execute_process(COMMAND ${SORNA_NM} ${SORNA_IMPORT_LIBRARY_${dll}} OUTPUT_VARIABLE symbols
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "[0-9a-f]+ I __imp__[^\n]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE "^[0-9a-f]+ I __imp__" "")
    list(REMOVE_DUPLICATES imports)
    list(SORT imports)
    list(JOIN imports "\n    " exports)
    list(TRANSFORM imports PREPEND "    .long _")
    list(JOIN imports "\n" references)
    string(APPEND delay_stub_references "${references}\n")
    if(NOT EXISTS ${delay_folder}/lib${dll}-delay.a)
        file(WRITE ${delay_folder}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n    ${exports}\n")
        execute_process(COMMAND ${SORNA_DLLTOOL} --input-def ${dll}.def --dllname ${dll}.dll --kill-at
                                --output-delaylib lib${dll}-delay.a
                        WORKING_DIRECTORY ${delay_folder} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND sorna_delay_import_libraries ${delay_folder}/lib${dll}-delay.a)
endforeach()
# ld drops the stub that a delay-loaded function's address slot starts out pointing at, unless
# something names the stub itself: this list names them all.
file(CONFIGURE OUTPUT ${delay_folder}/stubs.s CONTENT "    .section .rdata,\"dr\"\n${delay_stub_references}")
set(sorna_delay_stub_references ${delay_folder}/stubs.s)

function(sorna_juce_windows_libraries)
    foreach(part core gui)
        target_include_directories(juce_${part}_modules SYSTEM PUBLIC ${SORNA_PNG_INCLUDE})
        target_compile_definitions(juce_${part}_modules PUBLIC JUCE_USE_DIRECTWRITE=0)
    endforeach()
    target_link_libraries(juce_core_modules PUBLIC
        ${SORNA_PNG_LIBRARY} ${SORNA_JPEG_LIBRARY} ${SORNA_ZLIB_LIBRARY}
        ${sorna_delay_import_libraries} uuid ntdll)
    # One self-contained executable: no mingw runtime DLLs beside it.
    target_link_options(juce_core_modules INTERFACE -static -static-libgcc -static-libstdc++)

    # Reproducible bytes: two builds of the same sources, in different folders and at different
    # times, give the same executable. The PE header gets no link time, and no absolute folder
    # reaches the binary through __FILE__ (the patched JUCE copy lives in the build folder, which
    # may itself sit inside the source folder: the more specific map comes last and wins).
    target_compile_options(juce_core_modules PUBLIC
        $<$<COMPILE_LANGUAGE:C,CXX,ASM>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=src>
        $<$<COMPILE_LANGUAGE:C,CXX,ASM>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>)
    target_link_options(juce_core_modules INTERFACE -Wl,--no-insert-timestamp)
    # juce_core compiles __DATE__ and __TIME__ into Time::getCompilationDate; gcc takes them from
    # SOURCE_DATE_EPOCH. Unless the builder sets one, it is the date of the JUCE sources we
    # compile (kept by Debian's package), which stays put from commit to commit, so a cached
    # object (ccache is told to ignore these macros) never carries a different date than a fresh
    # compile would.
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(source_date "$ENV{SOURCE_DATE_EPOCH}")
    else()
        file(TIMESTAMP ${JUCE_MODULES_DIR}/juce_core/juce_core.h source_date "%s" UTC)
    endif()
    foreach(part core gui)
        set_property(TARGET juce_${part}_modules PROPERTY CXX_COMPILER_LAUNCHER
            ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${source_date} ${CMAKE_CXX_COMPILER_LAUNCHER})
    endforeach()
endfunction()

enable_language(RC)
include(${CMAKE_SOURCE_DIR}/cmake/Signing.cmake)

# The product's icon, drawn at build time from the product's own artwork by make_images, which
# runs on the build machine: a cross build is given one built there (scripts/build-windows does).
# The fonts are pinned, so that every build draws the same pixels.
set(SORNA_HOST_MAKE_IMAGES "" CACHE FILEPATH "make_images built for the build machine (from a native build's tools/)")
if(NOT SORNA_HOST_MAKE_IMAGES OR NOT EXISTS "${SORNA_HOST_MAKE_IMAGES}")
    message(FATAL_ERROR "A Windows build draws the product's icon with a make_images built for this machine: "
                        "-DSORNA_HOST_MAKE_IMAGES=<native build>/tools/make_images "
                        "(now: \"${SORNA_HOST_MAKE_IMAGES}\")")
endif()
set(SORNA_ICON ${CMAKE_BINARY_DIR}/resources/windows/Sorna.ico)
set(SORNA_SMALL_ICON ${CMAKE_BINARY_DIR}/resources/windows/SornaSmall.ico)
add_custom_command(OUTPUT ${SORNA_ICON} ${SORNA_SMALL_ICON}
    COMMAND ${CMAKE_COMMAND} -E env JUCE_FONT_PATH=/usr/share/fonts/truetype/dejavu
            ${SORNA_HOST_MAKE_IMAGES} --icons ${SORNA_ICON} ${SORNA_SMALL_ICON}
    DEPENDS ${SORNA_HOST_MAKE_IMAGES}
    COMMENT "Drawing the product's icon"
    VERBATIM)
add_custom_target(sorna_icons DEPENDS ${SORNA_ICON} ${SORNA_SMALL_ICON})

# A Windows program of ours: its manifest, icon and version information, configured from the
# product's facts, and the GUI subsystem.
function(sorna_windows_program target)
    set(resources ${CMAKE_BINARY_DIR}/resources/windows)
    configure_file(${CMAKE_SOURCE_DIR}/resources/windows/${target}.manifest.in ${resources}/${target}.manifest @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/resources/windows/${target}.rc.in ${resources}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${resources}/${target}.rc)
    set_source_files_properties(${resources}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${resources}/${target}.manifest;${SORNA_ICON};${SORNA_SMALL_ICON}")
    add_dependencies(${target} sorna_icons)
    target_link_options(${target} PRIVATE -mwindows)
    sorna_sign(${target})
endfunction()
