# Registers the hardening check of the program in whichever build this is:
# readelf on the Linux program, MinGW's objdump on bottles.exe.
if(TARGET bottles AND NOT TEST hardening_test)
  add_test(NAME hardening_test COMMAND ${CMAKE_CURRENT_LIST_DIR}/hardening_test.sh $<TARGET_FILE:bottles>)
endif()
