# Tests of the editor widgets, editor factories and the tree browser.
veq_add_test(propertybrowser_editor_widgets_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editor_widgets_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
veq_add_test(propertybrowser_editor_factories_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editor_factories_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
