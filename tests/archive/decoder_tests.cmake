# Tests of the ZPAQ decoder (tables, ZPAQL machine, real archives, fuzz corpus).
veq_add_test(archive_model_tables_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/model_tables_test.cpp
    LIBS archive)
target_include_directories(archive_model_tables_test PRIVATE ${CMAKE_SOURCE_DIR}/archive)
