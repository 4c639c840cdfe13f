# Tests of the date, time, character, locale, point, size, rectangle, flag and
# size-policy managers.
foreach(unit datetimemanagers localepoint sizerect flagsizepolicy compositerows)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pb${unit}_test.cpp
    LIBS pbtest_support propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
