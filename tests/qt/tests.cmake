# Real-widget tests on the Qt back end, on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_library(qt_test_main STATIC qt/qt_test_main.cpp)
target_link_libraries(qt_test_main PUBLIC GTest::gtest Qt6::Widgets)

function(bottles_qt_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE window forms_qt qt_test_main Qt6::Test)
  target_compile_definitions(${name} PRIVATE BOTTLES_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  bottles_discover(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

bottles_qt_test(qt_window_test qt/qt_window_test.cpp)
bottles_qt_test(qt_model_test qt/qt_model_test.cpp)
bottles_qt_test(qt_scenario_test qt/qt_scenario_test.cpp)
target_link_libraries(qt_scenario_test PRIVATE scenarios)
bottles_qt_test(qt_conformance_test qt/qt_conformance_test.cpp)
target_link_libraries(qt_conformance_test PRIVATE scenarios)

# The program itself on a real X server.
add_test(NAME xvfb_screenshot_test
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb_screenshot_test.sh $<TARGET_FILE:bottles>
          ${CMAKE_CURRENT_BINARY_DIR}/screenshot.png)

# What a screen reader reads of it, through AT-SPI.
add_test(NAME atspi_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/atspi_test.sh $<TARGET_FILE:bottles>)
# What Orca says after each move of a game played with the keyboard.
add_test(NAME orca_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/orca_test.sh $<TARGET_FILE:bottles>)
set_tests_properties(orca_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
add_test(NAME no_display_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/no_display_test.sh $<TARGET_FILE:bottles>)

# One program, run once in each locale. The locales are compiled here from
# Debian's locales sources into a folder of the build's own (LOCPATH), the
# system's left as they are: Pashto and Egyptian Arabic write U+066B.
find_program(BOTTLES_LOCALEDEF localedef REQUIRED)
add_executable(qt_locale_test qt/qt_locale_test.cpp)
target_link_libraries(qt_locale_test PRIVATE window forms_qt qt_test_main Qt6::Test)
set(locales ${CMAKE_BINARY_DIR}/locales)
foreach(pair "bg_BG.UTF-8=," "en_US.UTF-8=." "ps_AF.UTF-8=٫" "ar_EG.UTF-8=٫" "C=.")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 locale)
  list(GET pair 1 separator)
  if(NOT locale STREQUAL "C")
    string(REPLACE ".UTF-8" "" source ${locale})
    add_custom_command(OUTPUT ${locales}/${locale}/LC_NUMERIC
      COMMAND ${BOTTLES_LOCALEDEF} -i ${source} -f UTF-8 ${locales}/${locale}
      VERBATIM)
    list(APPEND qt_locale_files ${locales}/${locale}/LC_NUMERIC)
  endif()
  add_test(NAME qt_locale_test_${locale} COMMAND qt_locale_test)
  set_tests_properties(qt_locale_test_${locale} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LOCPATH=${locales};LC_ALL=${locale};BOTTLES_EXPECT_SEPARATOR=${separator}")
endforeach()
add_custom_target(qt_test_locales ALL DEPENDS ${qt_locale_files})

bottles_qt_test(qt_accessibility_test qt/qt_accessibility_test.cpp)
bottles_qt_test(qt_error_box_test qt/qt_error_box_test.cpp)
bottles_qt_test(qt_input_test qt/qt_input_test.cpp)
