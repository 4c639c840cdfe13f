veq_add_test(canopen_sdo_test
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_fixture.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_bench.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_client_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_block_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_timeout_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_server_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sdo_loopback_test.cpp
    LIBS canopen
    TIMEOUT 120)
