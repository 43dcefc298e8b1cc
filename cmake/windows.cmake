# Windows build: the program, its adapters and views, and the tests that run under Wine.
set(WIN_LIBS user32 gdi32 msimg32 shell32 comctl32 comdlg32 ole32 oleaut32 uuid uxtheme advapi32 winmm mpr shlwapi psapi)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

add_library(tavi_win STATIC ${WIN_SOURCES})
target_link_libraries(tavi_win PUBLIC tavi_core tavi_host ${WIN_LIBS})
target_compile_options(tavi_win PRIVATE ${WARNINGS})

add_executable(TaviMenu2 WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/res/TaviMenu2.rc)
target_link_libraries(TaviMenu2 PRIVATE tavi_win)
target_link_options(TaviMenu2 PRIVATE ${STATIC_RUNTIME} -municode)
set_target_properties(TaviMenu2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# windres does not report what a .rc file includes.
set(DIALOG_RESOURCES ${CMAKE_SOURCE_DIR}/res/new_app.rc ${CMAKE_SOURCE_DIR}/res/icon_change.rc
  ${CMAKE_SOURCE_DIR}/src/dialogs/new_app_ids.h ${CMAKE_SOURCE_DIR}/src/dialogs/icon_change_ids.h
  ${CMAKE_SOURCE_DIR}/res/new_app_ex.rc ${CMAKE_SOURCE_DIR}/src/dialogs/new_app_ex_ids.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/TaviMenu2.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/TaviMenu2.manifest;${DIALOG_RESOURCES}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# GoogleTest from Debian's source package, cross-compiled.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/res/tests.rc)
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(win_tests PRIVATE tavi_win gtest)
target_link_options(win_tests PRIVATE ${STATIC_RUNTIME} -municode)
set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/tests.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/TaviMenu2.manifest;${DIALOG_RESOURCES}")

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

# The help command opens this page from the program's folder.
add_custom_command(TARGET TaviMenu2 POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/help/TaviMenu2.html
          ${CMAKE_BINARY_DIR}/TaviMenu2.html)
