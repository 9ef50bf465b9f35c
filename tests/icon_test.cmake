# The icon test: the committed XPM and the .ico made from it. Included from
# tests/CMakeLists.txt; the test reads the XPM from the source tree.
bottles_test(icon_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_test.cpp LIBS xpm)
get_filename_component(bottles_icon_root "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
target_compile_definitions(icon_test PRIVATE BOTTLES_SOURCE_DIR="${bottles_icon_root}")
