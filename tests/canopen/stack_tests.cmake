veq_add_test(canopen_serial_can_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/serial_can_test.cpp LIBS canopen TIMEOUT 60)
