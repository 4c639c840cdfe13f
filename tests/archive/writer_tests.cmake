# Test-side archive writer and the round-trip, bad-archive and path tests built on it.
add_library(zpaq_test_writer STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/arith_encoder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/block_writer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/context_model.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/extraction_run.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/journal_blocks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/journal_writer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/real_archives.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/writer/shared_model.cpp)
target_include_directories(zpaq_test_writer PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/writer)
target_link_libraries(zpaq_test_writer PUBLIC archive Qt5::Core)
target_compile_definitions(zpaq_test_writer PRIVATE
    VEQ_REAL_ARCHIVES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/real")

# One binary per concern: damaged containers, damaged programs, stored and
# modelled round trips, journaling, path safety and truncation.
foreach(unit bad_container bad_program stored_roundtrip journal_roundtrip path_safety hostile_names
        truncation model_roundtrip large_output)
  veq_add_test(archive_${unit}_test
      SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${unit}_test.cpp
      LIBS zpaq_test_writer TIMEOUT 300)
endforeach()
