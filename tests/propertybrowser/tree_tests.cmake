# Tests of the editor widgets, editor factories and the tree browser.
foreach(unit editor_widgets editor_factories tree_checks tree_editing tree_browser tree_expansion)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${unit}_test.cpp
    LIBS pbtest_support propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
