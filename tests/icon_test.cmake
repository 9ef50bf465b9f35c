# The icon test: the committed XPM and the .ico made from it. Included from
# tests/CMakeLists.txt; the test reads the XPM from the source tree.
bottles_test(icon_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_test.cpp LIBS xpm)
get_filename_component(bottles_icon_root "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
target_compile_definitions(icon_test PRIVATE BOTTLES_SOURCE_DIR="${bottles_icon_root}")

# The PNG icons of the Linux desktop entry, made from the same XPM.
bottles_test(png_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/png_test.cpp LIBS png_writer)
target_compile_definitions(png_test PRIVATE BOTTLES_SOURCE_DIR="${bottles_icon_root}")
