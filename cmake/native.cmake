# Native Linux build: the core's unit tests (and fuzz targets when clang builds).
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB ORVANE_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(orvane_native_tests ${ORVANE_NATIVE_TEST_SOURCES})
target_link_libraries(orvane_native_tests PRIVATE orvane_program_modules GTest::gtest GTest::gtest_main)
target_include_directories(orvane_native_tests PRIVATE tests/native)
target_compile_options(orvane_native_tests PRIVATE ${ORVANE_WARNINGS})
orvane_server_host(orvane_native_tests "localhost:8471")
gtest_discover_tests(orvane_native_tests DISCOVERY_TIMEOUT 60)

# Each layer linked whole with only the layers below it: a call from a folder
# into one above it fails the build here.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/layer_link_check.cpp CONTENT "int main() { return 0; }\n")
foreach(layer orvane_platform orvane_download orvane_skin orvane_main_window orvane_workflows)
  add_executable(${layer}_links ${CMAKE_BINARY_DIR}/layer_link_check.cpp)
  target_link_libraries(${layer}_links PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${layer}>")
  orvane_server_host(${layer}_links "localhost:8471")
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
  add_subdirectory(tests/fuzz)
endif()
