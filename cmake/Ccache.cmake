# ccache when present; juce_core uses __DATE__/__TIME__, which ccache must be told to accept.
find_program(SORNA_CCACHE ccache)
if(SORNA_CCACHE)
    # The base folder makes the cache shareable between checkouts in different folders.
    set(launcher ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=time_macros CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} ${SORNA_CCACHE})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
