# One ctest entry per test binary. Every test runs headless and with a time
# limit, so a hung exchange fails the run instead of stalling CI.
find_package(GTest REQUIRED)

set(VEQ_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# veq_add_test(<name> SOURCES ... [LIBS ...] [QT_MAIN] [TIMEOUT s])
# QT_MAIN links a main() that creates a QApplication before running the tests.
function(veq_add_test name)
  cmake_parse_arguments(T "QT_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT_MAIN)
    target_link_libraries(${name} PRIVATE veq_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VEQ_TEST_ENV}" TIMEOUT ${T_TIMEOUT})
endfunction()
