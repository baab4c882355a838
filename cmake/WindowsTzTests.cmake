# Wine reads TZ once, at start-up: the cases for another time zone need a Wine of their own.
if(TARGET tsy_wintests)
  add_test(NAME ReleaseStamp.UnderUtc
    COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/run.sh $<TARGET_FILE:tsy_wintests> --gtest_filter=*Utc.*)
  set_tests_properties(ReleaseStamp.UnderUtc PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 180)
endif()
