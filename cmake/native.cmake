# Native Linux build: the core's unit tests (and fuzz targets when clang builds).
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB ORVANE_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(orvane_native_tests ${ORVANE_NATIVE_TEST_SOURCES})
target_link_libraries(orvane_native_tests PRIVATE orvane_core GTest::gtest GTest::gtest_main)
target_include_directories(orvane_native_tests PRIVATE tests/native)
target_compile_options(orvane_native_tests PRIVATE ${ORVANE_WARNINGS})
orvane_server_host(orvane_native_tests "localhost:8471")
gtest_discover_tests(orvane_native_tests DISCOVERY_TIMEOUT 60)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()
