# A test program of driver operations: the driver and the emulated printer are
# loaded at run time with the real loader, never linked; only the driver's
# declarations and the shared driver fixture are compiled in.
include(GoogleTest)

function(driver_test_executable target)
  add_executable(${target} ${PROJECT_SOURCE_DIR}/tests/driver/driver_fixture.cpp ${ARGN})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/driver/include ${PROJECT_SOURCE_DIR}/tests/driver)
  target_link_libraries(${target} PRIVATE test_support hostrt GTest::gtest GTest::gmock test_main)
  add_dependencies(${target} Kvr00102)
  project_warnings(${target})
  discover_tests(${target})
endfunction()
