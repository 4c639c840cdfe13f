# Tests of the ZPAQ decoder (tables, ZPAQL machine, real archives, fuzz corpus).
veq_add_test(archive_model_tables_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/model_tables_test.cpp
    LIBS archive)
veq_add_test(archive_zpaql_machine_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/zpaql_machine_test.cpp
    LIBS archive)
veq_add_test(archive_real_archives_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/real_archives_test.cpp
    LIBS archive Qt5::Core TIMEOUT 120)
