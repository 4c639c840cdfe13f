# Tests of the ZPAQ decoder (tables, ZPAQL machine, real archives, fuzz corpus).
veq_add_test(archive_model_tables_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/model_tables_test.cpp
    LIBS archive)
veq_add_test(archive_zpaql_machine_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/zpaql_machine_test.cpp
    LIBS archive)
veq_add_test(archive_real_archives_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/real_archives_test.cpp
    LIBS zpaq_test_writer TIMEOUT 120)
veq_add_test(archive_output_folder_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/output_folder_test.cpp
    LIBS archive Qt5::Core)
veq_add_test(archive_journal_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/journal_test.cpp
    LIBS archive)
veq_add_test(archive_fuzz_corpus_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_corpus_test.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_extract.cpp
    LIBS zpaq_test_writer TIMEOUT 120)
target_compile_definitions(archive_fuzz_corpus_test PRIVATE
    VEQ_ZPAQ_CORPUS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/corpus")

# libFuzzer build of the same target: configure with CXX=clang++ -DVEQ_FUZZ=ON,
# then run e.g. `fuzz_extract -max_total_time=300 <copy of corpus/>`.
option(VEQ_FUZZ "Build the libFuzzer target of the archive extractor (clang only)" OFF)
if(VEQ_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(archive PRIVATE -fsanitize=fuzzer-no-link)
    add_executable(fuzz_extract ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_extract.cpp)
    target_compile_options(fuzz_extract PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_extract PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_extract PRIVATE archive Qt5::Core)
endif()
veq_add_test(archive_predictor_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/predictor_test.cpp
    LIBS archive)
veq_add_test(archive_chain_predictor_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chain_predictor_test.cpp
    LIBS zpaq_test_writer)
