# Cursor database, painting utilities, font, colour and cursor managers and
# editors, and the button and group-box browsers.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcursors.qrc
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcursordatabase.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcursordatabase_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcursordatabase.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertybrowserutils.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpropertybrowserutils.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbgridrows_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbgridrows.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbuttonpropertybrowser.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbuttonpropertybrowser_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbbuttonpropertybrowser.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbgroupboxpropertybrowser.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbgroupboxpropertybrowser_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbgroupboxpropertybrowser.cpp
)
