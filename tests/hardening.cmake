# Registers the hardening check of the Linux program (readelf).
if(TARGET bottles AND NOT WIN32 AND NOT TEST hardening_test)
  add_test(NAME hardening_test COMMAND ${CMAKE_CURRENT_LIST_DIR}/hardening_test.sh $<TARGET_FILE:bottles>)
endif()
