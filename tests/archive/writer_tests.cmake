# Test-side archive writer and the round-trip, bad-archive and path tests built on it.
add_library(zpaq_test_writer STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/arith_encoder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/block_writer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/extraction_run.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/journal_blocks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/journal_writer.cpp)
target_include_directories(zpaq_test_writer PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/writer)
target_link_libraries(zpaq_test_writer PUBLIC archive Qt5::Core)

veq_add_test(archive_bad_container_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bad_container_test.cpp
    LIBS zpaq_test_writer TIMEOUT 120)
veq_add_test(archive_bad_program_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bad_program_test.cpp
    LIBS zpaq_test_writer TIMEOUT 120)
