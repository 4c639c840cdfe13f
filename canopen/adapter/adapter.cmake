list(APPEND CANOPEN_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/adapter/can_line.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/adapter/serial_device.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/adapter/serial_can.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/adapter/serial_can_binding.cpp)
