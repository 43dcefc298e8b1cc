# Windows build: the program, its adapters and views, and the tests that run under Wine.
set(WIN_LIBS user32 gdi32 imm32 msimg32 shell32 comctl32 comdlg32 ole32 oleaut32 uuid uxtheme advapi32 winmm mpr shlwapi psapi version oleacc)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# Libraries the bar needs only after its first paint (dialogs, sound, OLE for
# drops, version resources) are loaded at their first call instead of at
# start: each library Wine loads costs start-up time and memory. The
# functions called from them are listed in cmake/delayload/<dll>.def; a
# function missing there still links, from the ordinary import library.
find_program(DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
file(GLOB DELAY_DEFS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delayload/*.def)
set(DELAY_LIBS)
foreach(def ${DELAY_DEFS})
  get_filename_component(dll ${def} NAME_WE)
  set(delay_lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${delay_lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
    COMMAND ${DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${delay_lib}
    DEPENDS ${def} VERBATIM)
  list(APPEND DELAY_LIBS ${delay_lib})
endforeach()
add_custom_target(delay_libs DEPENDS ${DELAY_LIBS})

add_library(tavi_win STATIC ${WIN_SOURCES})
add_dependencies(tavi_win delay_libs)
target_link_libraries(tavi_win PUBLIC tavi_core tavi_host ${DELAY_LIBS} ${WIN_LIBS})
target_compile_options(tavi_win PRIVATE ${WARNINGS})

# The manifest carries the version of project(VERSION); the icon is drawn by
# a script of ours at every size the system asks for.
set(GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/TaviMenu2.manifest.in ${GENERATED}/TaviMenu2.manifest @ONLY)
add_custom_command(OUTPUT ${GENERATED}/TaviMenu2.ico
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/draw_icon.py ${GENERATED}/TaviMenu2.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/draw_icon.py VERBATIM)
add_custom_target(program_icon DEPENDS ${GENERATED}/TaviMenu2.ico)
set(RESOURCE_INPUTS ${GENERATED}/TaviMenu2.manifest ${GENERATED}/TaviMenu2.ico ${GENERATED}/version.h)

add_executable(TaviMenu2 WIN32 ${CMAKE_SOURCE_DIR}/src/program/main_win.cpp ${CMAKE_SOURCE_DIR}/res/TaviMenu2.rc)
add_dependencies(TaviMenu2 program_icon)
target_include_directories(TaviMenu2 PRIVATE ${GENERATED})
target_link_libraries(TaviMenu2 PRIVATE tavi_win)
target_link_options(TaviMenu2 PRIVATE ${STATIC_RUNTIME} -municode)
# The same sources make the same program: no time stamp in its header, so a
# download can be checked against a build of its commit.
target_link_options(TaviMenu2 PRIVATE -Wl,--no-insert-timestamp)
# A smaller program that is paged in rather than read in whole. Wine maps an
# image's sections from the file only when they start on page boundaries
# there; with the linker's 512-byte default it reads every section into
# memory at start, code never run and debug sections included. The debug
# sections and unreferenced ones are left out of the program altogether.
target_link_options(TaviMenu2 PRIVATE -Wl,--file-alignment=0x1000 -Wl,--gc-sections -s)
# Compiled for size, each function in a section of its own so the linker can
# drop the unused ones: the bar waits on the system, not on its own code,
# and every page of code it carries is memory (0.75 MiB of code to 0.41).
foreach(target tavi_core tavi_host tavi_win TaviMenu2)
  target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections)
endforeach()
set_target_properties(TaviMenu2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# windres does not report what a .rc file includes.
file(GLOB DIALOG_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/lang/*/*.rc ${CMAKE_SOURCE_DIR}/src/*/*_ids.h)
list(APPEND DIALOG_RESOURCES ${GENERATED}/dialogs_generated.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/TaviMenu2.rc PROPERTIES
  OBJECT_DEPENDS "${RESOURCE_INPUTS};${DIALOG_RESOURCES}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# GoogleTest from Debian's source package, cross-compiled.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/res/tests.rc)
add_dependencies(win_tests program_icon)
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${GENERATED})
target_link_libraries(win_tests PRIVATE tavi_win gtest)
target_link_options(win_tests PRIVATE ${STATIC_RUNTIME} -municode)
set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/tests.rc PROPERTIES
  OBJECT_DEPENDS "${RESOURCE_INPUTS};${DIALOG_RESOURCES}")

# Benchmarks of the Windows side, run under Wine (tests/e2e/README.md).
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/win/*_win.cpp)
foreach(bench_source ${WIN_BENCH_SOURCES})
  get_filename_component(bench ${bench_source} NAME_WE)
  string(REGEX REPLACE "_win$" "" bench ${bench})
  add_executable(${bench} ${bench_source})
  target_link_libraries(${bench} PRIVATE tavi_win)
  target_link_options(${bench} PRIVATE ${STATIC_RUNTIME})
  set_target_properties(${bench} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()

# The end-to-end driver and the small programs the end-to-end tests start.
file(GLOB E2E_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/tools/*_win.cpp)
foreach(tool_source ${E2E_TOOLS})
  get_filename_component(tool ${tool_source} NAME_WE)
  string(REGEX REPLACE "_win$" "" tool ${tool})
  # A tool named *_dll is a DLL another tool loads into a process under test;
  # one with wWinMain is a GUI-subsystem program; one with wmain is a console program.
  file(STRINGS ${tool_source} gui_entry REGEX "wWinMain")
  if(tool MATCHES "_dll$")
    string(REGEX REPLACE "_dll$" "" tool ${tool})
    add_library(${tool} SHARED ${tool_source})
    set_target_properties(${tool} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
  elseif(gui_entry)
    add_executable(${tool} WIN32 ${tool_source})
  else()
    add_executable(${tool} ${tool_source})
  endif()
  target_compile_options(${tool} PRIVATE ${WARNINGS})
  target_link_libraries(${tool} PRIVATE ${WIN_LIBS})
  target_link_options(${tool} PRIVATE ${STATIC_RUNTIME} -municode)
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/e2e)
endforeach()

# The help command opens these pages (one a language) from the program's folder.
file(GLOB HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/help/*.html)
add_custom_command(TARGET TaviMenu2 POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HELP_PAGES} ${CMAKE_BINARY_DIR})
