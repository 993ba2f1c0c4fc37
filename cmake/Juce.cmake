# JUCE 7.0.5 from Debian, each module's unity source compiled into one of two static libraries:
# juce_core_modules (core, events, data structures) for the layers that must not reach the
# screen, and juce_gui_modules (graphics, GUI) for those that draw.
set(JUCE_MODULES_DIR "" CACHE PATH "Folder holding the JUCE modules (juce_core, juce_gui_basics, ...)")
if(NOT JUCE_MODULES_DIR)
    foreach(candidate ${CMAKE_SOURCE_DIR}/deps/juce/usr/share/juce/modules /usr/share/juce/modules)
        if(EXISTS ${candidate}/juce_core/juce_core.h)
            set(JUCE_MODULES_DIR ${candidate} CACHE PATH "" FORCE)
            break()
        endif()
    endforeach()
endif()
if(NOT EXISTS ${JUCE_MODULES_DIR}/juce_core/juce_core.h)
    message(FATAL_ERROR "JUCE modules not found: run scripts/setup, or set JUCE_MODULES_DIR")
endif()

set(juce_core_module_names juce_core juce_events juce_data_structures)
set(juce_gui_module_names juce_graphics juce_gui_basics)
set(juce_module_names ${juce_core_module_names} ${juce_gui_module_names})

# The Windows build compiles a patched copy of the modules (cmake/JuceWindows.cmake).
set(juce_source_root ${JUCE_MODULES_DIR})
if(WIN32)
    include(cmake/JuceWindows.cmake)
endif()

foreach(part core gui)
    set(sources)
    foreach(module IN LISTS juce_${part}_module_names)
        list(APPEND sources ${juce_source_root}/${module}/${module}.cpp)
    endforeach()
    sorna_include_root(root juce-${part} BASE ${juce_source_root} FOLDERS ${juce_${part}_module_names})
    add_library(juce_${part}_modules STATIC ${sources})
    target_include_directories(juce_${part}_modules SYSTEM PUBLIC ${root})
    # JUCE's global settings: the same in every translation unit, whichever modules it sees.
    target_compile_definitions(juce_${part}_modules PUBLIC
        JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
        JUCE_STANDALONE_APPLICATION=1
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_USE_CURL=0
        JUCE_WEB_BROWSER=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_INCLUDE_ZLIB_CODE=0
        JUCE_INCLUDE_PNGLIB_CODE=0
        JUCE_INCLUDE_JPEGLIB_CODE=0
        $<$<CONFIG:Debug>:DEBUG=1>
        $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)
    foreach(module IN LISTS juce_module_names)
        target_compile_definitions(juce_${part}_modules PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
    endforeach()
    if(SORNA_SANITIZE OR SORNA_FUZZ)
        # JUCE compares empty MemoryBlocks with memcmp (nullptr, nullptr, 0): harmless, but the
        # check would stop every test that compares two empty files. Our own code keeps it.
        target_compile_options(juce_${part}_modules PRIVATE -fno-sanitize=nonnull-attribute)
    endif()
endforeach()
target_link_libraries(juce_gui_modules PUBLIC juce_core_modules)

find_package(Threads REQUIRED)
if(WIN32)
    sorna_juce_windows_libraries()
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(JUCE_DEPS REQUIRED IMPORTED_TARGET freetype2 libpng libjpeg zlib)
    target_link_libraries(juce_core_modules PUBLIC PkgConfig::JUCE_DEPS Threads::Threads ${CMAKE_DL_LIBS} rt)
endif()

# Our own code is held to these; JUCE's sources are not ours to clean.
set(sorna_warnings -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wunused)
