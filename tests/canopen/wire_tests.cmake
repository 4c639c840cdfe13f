# End-to-end SDO tests: the real stack and adapter driver over a pty against the virtual
# device of tests/support.
if(TARGET veq_stack_session)
  veq_add_test(canopen_wire_test
      SOURCES
          ${CMAKE_CURRENT_SOURCE_DIR}/wire_sdo_roads_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/wire_sdo_faults_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/wire_line_faults_test.cpp
      LIBS veq_stack_session
      TIMEOUT 180)
endif()
# The other services end to end against the virtual bus peers.
if(TARGET veq_stack_session)
  veq_add_test(canopen_wire_services_test
      SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/wire_services_test.cpp
      LIBS veq_stack_session
      TIMEOUT 120)
endif()
