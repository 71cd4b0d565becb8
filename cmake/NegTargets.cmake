# One place that sets the warnings of every target of ours, and one helper per
# kind of test, so that every test gets the same flags, labels and environment.

function(neg_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(NEG_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# neg_add_gtest(NAME src... [LIBS lib...]): a GoogleTest executable, one CTest
# entry per test case.
function(neg_add_gtest name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  neg_warnings(${name})
  target_link_libraries(${name} PRIVATE neg_model neg_testsupport GTest::gtest GTest::gtest_main GTest::gmock ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endfunction()

# neg_add_qttest(NAME src... LIBS lib...): a Qt Test executable that drives
# real windows of the libraries it names; it needs an X server (the test
# script runs CTest under Xvfb).
function(neg_add_qttest name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  neg_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} neg_model neg_testsupport Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests AUTOMOC ON)
  add_test(NAME ${name} COMMAND ${name})
  # One X server serves every GUI test, and windows of two test programs
  # would take the focus from each other: GUI tests run one at a time.
  set_tests_properties(${name} PROPERTIES LABELS gui TIMEOUT 300 RESOURCE_LOCK x_display
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;LIBGL_ALWAYS_SOFTWARE=1;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
