# ccache when present; juce_core uses __DATE__/__TIME__, which ccache must be told to accept.
find_program(SORNA_CCACHE ccache)
if(SORNA_CCACHE)
    set(launcher ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=time_macros ${SORNA_CCACHE})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
