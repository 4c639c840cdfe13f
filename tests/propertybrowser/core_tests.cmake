# The test kit of every property-browser test (signal log, connection-warning
# guard), compiled once. An object library rather than a static one: the guard
# registers itself from a static initialiser, which a static library would
# drop from test binaries that use nothing else of the kit.
add_library(pbtest_support OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/pbtest_support.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtest_support.cpp)
target_link_libraries(pbtest_support PUBLIC propertybrowser GTest::gtest)
target_include_directories(pbtest_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

# Tests of the property-browser core: properties, browser items, factory
# registry and editor tracking, range rules and the value managers.
foreach(unit property browser editorfactory rangerules valuemanagers enummanager connections)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pb${unit}_test.cpp
    LIBS pbtest_support propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
