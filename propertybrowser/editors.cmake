# Editor factories, editor widgets and the tree browser of the property-browser
# library. Headers with Q_OBJECT are listed so that automoc sees them.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorutils_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorutils.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbooledit.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbooledit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinbox2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinbox2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxeditwidget2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxeditwidget2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditwidget2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditwidget2.cpp
)
