# libFuzzer targets (scripts/fuzz builds and runs them; not part of the test suite). Included
# at the end of the top-level CMakeLists.txt when SORNA_FUZZ is on (cmake/Sanitizers.cmake).
foreach(target PropertiesFuzz RegistryFuzz PayloadFuzz)
    add_executable(${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/${target}.cpp)
    target_link_libraries(${target} PRIVATE sorna_core)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    target_compile_options(${target} PRIVATE ${sorna_warnings})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endforeach()
