# Tests of the cursor database, painting utilities, font, colour and cursor
# managers and editors, the button and group-box browsers, and of Tab in the
# tree browser's composite editors.
foreach(unit tree_tab appearance_values appearance_editors grid_browsers)
  veq_add_test(propertybrowser_${unit}_test
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${unit}_test.cpp
    LIBS pbtest_support propertybrowser QT_MAIN TIMEOUT 60)
endforeach()
