# Tests of the editor widgets, editor factories and the tree browser.
veq_add_test(propertybrowser_editor_widgets_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editor_widgets_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
veq_add_test(propertybrowser_editor_factories_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/editor_factories_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
veq_add_test(propertybrowser_tree_checks_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tree_checks_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
veq_add_test(propertybrowser_tree_editing_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tree_editing_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
veq_add_test(propertybrowser_tree_browser_test
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tree_browser_test.cpp
  LIBS propertybrowser QT_MAIN TIMEOUT 60)
