# Tests of the property-browser core: properties, browser items, factory
# registry and editor tracking, range rules and the value managers.
set(PB_CORE_TEST_SUPPORT ${CMAKE_CURRENT_SOURCE_DIR}/pbcore_test_support.cpp)
foreach(unit property browser editorfactory rangerules valuemanagers enummanager connections)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pb${unit}_test.cpp ${PB_CORE_TEST_SUPPORT}
    LIBS propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
