# The payload tests: whether the demo payload is the one linked in (its figures are known),
# and where the build's payload_tool is (a cross build has no native one to run).
if(SORNA_DEMO_PAYLOAD)
    target_compile_definitions(sorna_unit_tests PRIVATE SORNA_DEMO_PAYLOAD=1)
    target_compile_definitions(sorna_gui_tests PRIVATE SORNA_DEMO_PAYLOAD=1)
endif()
if(NOT CMAKE_CROSSCOMPILING)
    target_compile_definitions(sorna_unit_tests PRIVATE SORNA_PAYLOAD_TOOL_PATH="$<TARGET_FILE:payload_tool>")
    add_dependencies(sorna_unit_tests payload_tool)
endif()
