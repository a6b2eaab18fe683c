include(GoogleTest)

# korvex_add_test(<name> SOURCES ... LIBS ... [QTEST] [NEEDS_GUI])
# GoogleTest suites are discovered case by case; Qt Test suites run as one CTest test.
# Every test runs with the offscreen platform so no display is needed.
function(korvex_add_test name)
  cmake_parse_arguments(T "QTEST;NEEDS_GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE korvex_test_support ${T_LIBS})
  set(env "QT_QPA_PLATFORM=offscreen;KORVEX_SCHEMA=${KORVEX_SCHEMA_FILE};KORVEX_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp")
  if(T_QTEST)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name} -platform offscreen)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
  endif()
endfunction()
