# The Windows tests: the back end on real Win32 controls, the random model on
# them, what a screen reader is told of them, bottles.exe as a file (exe_check.py), and
# bottles.exe opened as a user would. CTest runs the programs under Wine
# through the emulator of the cross build.
set(bottles_win32_tests ${CMAKE_CURRENT_LIST_DIR})

bottles_test(win32_form_test SOURCES ${bottles_win32_tests}/win32_form_test.cpp LIBS window forms_win32)
bottles_test(win32_model_test SOURCES ${bottles_win32_tests}/win32_model_test.cpp LIBS window forms_win32)
bottles_test(win32_scenario_test SOURCES ${bottles_win32_tests}/win32_scenario_test.cpp LIBS scenarios forms_win32)
bottles_test(win32_conformance_test SOURCES ${bottles_win32_tests}/win32_conformance_test.cpp
  LIBS scenarios forms_win32 oleacc ole32 oleaut32 uuid)
bottles_test(win32_accessibility_test SOURCES ${bottles_win32_tests}/win32_accessibility_test.cpp
  LIBS window forms_win32 oleacc ole32 oleaut32 uuid)

# bottles.exe as a file, read by kept tools on the build machine (no Wine):
# the label "file" lets a host that cannot run this build check it still.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(bottles_pe_machine amd64)
else()
  set(bottles_pe_machine i386)
endif()
# At most 312 KiB: the program, built for size, and its icon in eight sizes.
add_test(NAME exe_check COMMAND ${bottles_win32_tests}/exe_check.py $<TARGET_FILE:bottles> ${bottles_pe_machine}
  ${PROJECT_SOURCE_DIR}/app/icon/bottles.xpm 319488 ${CMAKE_C_COMPILER})
set_tests_properties(exe_check PROPERTIES LABELS file)

add_test(NAME launch_test
  COMMAND ${bottles_win32_tests}/launch_test.sh ${PROJECT_SOURCE_DIR}/tools/wine-run.sh
          $<TARGET_FILE:bottles> ${PROJECT_BINARY_DIR}/screenshot.png)
