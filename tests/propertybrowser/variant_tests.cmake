# Tests of the text and time editors, the variant manager and the variant
# editor factory.
foreach(unit keyeditors variantmanager varianteditors)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pb${unit}_test.cpp
    LIBS pbtest_support propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
