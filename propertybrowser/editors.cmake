# Editor factories, editor widgets and the tree browser of the property-browser
# library. Headers with Q_OBJECT are listed so that automoc sees them.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorutils_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorutils.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorbutton_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbeditorbutton.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbooledit.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbooledit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinbox2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinbox2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxeditwidget2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxeditwidget2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditwidget2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditwidget2.cpp
)
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbfactoryutils_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbintspineditors_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbslidereditors_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsliderfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsliderfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbscrollbarfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbscrollbarfactory.cpp
)
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcheckboxfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcheckboxfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinboxfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdoublespinboxfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbenumeditorfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbenumeditorfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxfactory2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbspinboxfactory2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditcore_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditfactory2.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditfactory2.cpp
)
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtreepropertybrowser.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtreepropertybrowser.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtreepropertybrowser_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtreepropertybrowser_p.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertyeditorview_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertyeditorview.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertyeditordelegate_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertyeditordelegate.cpp
)
