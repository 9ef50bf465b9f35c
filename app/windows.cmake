# bottles.exe: the Win32 window, its resources (version record, icon,
# manifest), linked statically so that it needs Windows' own DLLs only.
set(bottles_res_dir ${CMAKE_CURRENT_BINARY_DIR}/resources)
include(${PROJECT_SOURCE_DIR}/cmake/icons.cmake)
bottles_icon_ico(${bottles_res_dir}/bottles.ico)
# windres directly: the compile options of the C++ code are not its own.
add_custom_command(OUTPUT ${bottles_res_dir}/bottles_rc.obj
  COMMAND ${CMAKE_RC_COMPILER} --input-format=rc --output-format=coff
          -I ${bottles_res_dir} -I ${CMAKE_CURRENT_SOURCE_DIR}/windows
          ${CMAKE_CURRENT_SOURCE_DIR}/windows/bottles.rc ${bottles_res_dir}/bottles_rc.obj
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/bottles.rc ${CMAKE_CURRENT_SOURCE_DIR}/windows/bottles.manifest
          ${bottles_res_dir}/bottles.ico
  COMMENT "Compiling the resources of bottles.exe")
set_source_files_properties(${bottles_res_dir}/bottles_rc.obj PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

add_executable(bottles WIN32 windows_main.cpp windows/xp_imports.cpp ${bottles_res_dir}/bottles_rc.obj)
target_link_libraries(bottles PRIVATE window forms_win32)
# -municode for wWinMain, -mwindows for the GUI subsystem; ASLR and DEP;
# Windows XP (5.1) the oldest system it runs on, as its header says.
target_link_options(bottles PRIVATE -municode -mwindows -Wl,--dynamicbase -Wl,--nxcompat
  -Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1
  $<$<CONFIG:Release,MinSizeRel>:-s>)
