# Native build: unit tests of the core against host adapters and fakes, and benchmarks.
enable_testing()
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_library(tavi_fakes STATIC ${FAKE_SOURCES})
target_include_directories(tavi_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tavi_fakes PUBLIC tavi_core tavi_host)

file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_SOURCES})
target_link_libraries(unit_tests PRIVATE tavi_fakes GTest::gtest_main)
# The texts' test reads the header of texts.
target_compile_definitions(unit_tests PRIVATE TAVI_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
if(benchmark_FOUND AND BENCH_SOURCES)
  add_executable(core_bench ${BENCH_SOURCES})
  target_link_libraries(core_bench PRIVATE tavi_fakes benchmark::benchmark)
endif()
