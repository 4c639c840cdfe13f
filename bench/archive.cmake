# Extraction throughput of the archive extractor. The self-made archive is
# written by the test-side writer, so the benchmark needs the test tree.
if(TARGET zpaq_test_writer)
  add_executable(archive_bench ${CMAKE_CURRENT_SOURCE_DIR}/archive_bench.cpp)
  target_link_libraries(archive_bench PRIVATE zpaq_test_writer archive Qt5::Core Threads::Threads)
else()
  message(STATUS "archive_bench needs VEQ_BUILD_TESTS=ON (it uses the test-side archive writer)")
endif()
