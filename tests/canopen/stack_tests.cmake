veq_add_test(canopen_serial_can_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/serial_can_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_pty.h ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_wait.h LIBS canopen TIMEOUT 60)
veq_add_test(canopen_can_line_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/can_line_test.cpp LIBS canopen)
veq_add_test(canopen_od_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/od_test.cpp LIBS canopen)
veq_add_test(canopen_alarm_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/alarm_test.cpp LIBS canopen)
veq_add_test(canopen_nmt_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/nmt_test.cpp LIBS canopen)
veq_add_test(canopen_port_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/port_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_pty.h ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_wait.h LIBS canopen TIMEOUT 60)
veq_add_test(canopen_services_test
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/service_fixture.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/stack_test_bench.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/pdo_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/sync_emcy_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/lifeguard_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/lss_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/dcf_test.cpp
    LIBS canopen)
