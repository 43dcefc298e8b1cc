# libFuzzer targets (clang only): the core and the host adapters are built with
# coverage, AddressSanitizer and UndefinedBehaviorSanitizer; one executable per
# reader of outside text, from tests/fuzz/fuzz_*.cpp.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "the fuzz preset needs clang (it uses libFuzzer)")
endif()

set(FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
foreach(library tavi_core tavi_host)
  target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link ${FUZZ_SANITIZERS})
endforeach()

# The fakes of the unit tests, for targets that drive a whole command.
file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_library(tavi_fuzz_fakes STATIC ${FAKE_SOURCES})
target_include_directories(tavi_fuzz_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tavi_fuzz_fakes PUBLIC tavi_core tavi_host)
target_compile_options(tavi_fuzz_fakes PRIVATE ${FUZZ_SANITIZERS})

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE tavi_fuzz_fakes tavi_host tavi_core)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS})
endforeach()
