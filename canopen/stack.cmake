list(APPEND CANOPEN_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/od.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/master_od.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/stack_lock.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/stack_clock.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/port_thread.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/port.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/alarm.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/waitable_timer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/stack_timer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/dispatch.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/nmt.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/pdo.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sync.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/emcy.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lifeguard.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/lss.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/dcf.cpp)
