veq_add_test(canopen_serial_can_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/serial_can_test.cpp LIBS canopen TIMEOUT 60)
veq_add_test(canopen_can_line_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/can_line_test.cpp LIBS canopen)
veq_add_test(canopen_od_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/od_test.cpp LIBS canopen)
