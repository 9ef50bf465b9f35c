# The Windows tests: the back end on real Win32 controls, the random model on
# them, what a screen reader is told of them, bottles.exe as a file, and
# bottles.exe opened as a user would. CTest runs the programs under Wine
# through the emulator of the cross build.
set(bottles_win32_tests ${CMAKE_CURRENT_LIST_DIR})

bottles_test(win32_form_test SOURCES ${bottles_win32_tests}/win32_form_test.cpp LIBS window forms_win32)
bottles_test(win32_input_test SOURCES ${bottles_win32_tests}/win32_input_test.cpp LIBS window forms_win32)
bottles_test(win32_model_test SOURCES ${bottles_win32_tests}/win32_model_test.cpp LIBS window forms_win32)
bottles_test(win32_accessibility_test SOURCES ${bottles_win32_tests}/win32_accessibility_test.cpp
  LIBS window forms_win32 oleacc ole32 oleaut32 uuid)

# The drawing the icon must match, embedded byte for byte.
include(${PROJECT_SOURCE_DIR}/cmake/embed_text.cmake)
bottles_embed_texts(${CMAKE_CURRENT_BINARY_DIR}/generated/tests/win32/icon_xpm.h
  kIconXpm=${PROJECT_SOURCE_DIR}/app/icon/bottles.xpm)
bottles_test(exe_test SOURCES ${bottles_win32_tests}/exe_test.cpp ${PROJECT_SOURCE_DIR}/tools/xpm.cpp LIBS version)
target_include_directories(exe_test PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_compile_definitions(exe_test PRIVATE UNICODE _UNICODE NOMINMAX)
file(RELATIVE_PATH bottles_exe_from_tests ${CMAKE_CURRENT_BINARY_DIR} ${PROJECT_BINARY_DIR}/app/bottles.exe)
target_compile_definitions(exe_test PRIVATE BOTTLES_EXE_FROM_TESTS="${bottles_exe_from_tests}")
add_dependencies(exe_test bottles)

add_test(NAME launch_test
  COMMAND ${bottles_win32_tests}/launch_test.sh ${PROJECT_SOURCE_DIR}/tools/wine-run.sh
          $<TARGET_FILE:bottles> ${PROJECT_BINARY_DIR}/screenshot.png)
