# SDO round trips, upload throughput and idle CPU of the master stack over a pty against
# the virtual device, and the timing of its SYNC, heartbeat and PDO services. The virtual
# device lives in the test tree.
if(TARGET veq_stack_session)
  add_executable(stack_bench ${CMAKE_CURRENT_SOURCE_DIR}/stack_sdo_bench.cpp)
  target_link_libraries(stack_bench PRIVATE veq_stack_session Threads::Threads)
  add_executable(stack_services_bench ${CMAKE_CURRENT_SOURCE_DIR}/stack_services_bench.cpp)
  target_link_libraries(stack_services_bench PRIVATE veq_stack_session Threads::Threads)
else()
  message(STATUS "stack_bench needs VEQ_BUILD_TESTS=ON (it uses the virtual device)")
endif()
