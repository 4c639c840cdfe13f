# Device-access figures against the virtual adapter on a pty: node scan,
# loader pass, reads per second through the request glue, and EDS reading.
# The virtual device lives in the test tree.
if(TARGET veq_testsupport)
  add_executable(device_bench ${CMAKE_CURRENT_SOURCE_DIR}/device_bench.cpp)
  target_link_libraries(device_bench PRIVATE device veq_testsupport Qt5::Core Threads::Threads)
else()
  message(STATUS "device_bench needs VEQ_BUILD_TESTS=ON (it uses the virtual device)")
endif()
