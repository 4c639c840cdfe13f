list(APPEND CANOPEN_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_channel.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_buffer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_line.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_block.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_client.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_client_answers.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_results.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sdo_server.cpp)
