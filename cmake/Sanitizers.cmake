# Optional instrumented builds; both are off in the normal build.
#   SORNA_SANITIZE  AddressSanitizer + UndefinedBehaviorSanitizer for everything, JUCE included,
#                   so that the tests stop at the first bad access or undefined operation.
#   SORNA_FUZZ      the same with clang's libFuzzer coverage, and the fuzz targets of tests/fuzz.
option(SORNA_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(SORNA_FUZZ "Build the libFuzzer targets (clang only; implies the sanitizers)" OFF)

if(SORNA_SANITIZE OR SORNA_FUZZ)
    set(sorna_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${sorna_sanitizers})
    add_link_options(${sorna_sanitizers})
endif()

if(SORNA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "SORNA_FUZZ needs clang (scripts/fuzz configures it)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
