# Date, time, key-sequence, character, locale, point, size, rectangle, flag and
# size-policy managers, the enum-name provider and the sub-row maps and
# rectangle rules they share. Headers with Q_OBJECT are listed so that automoc
# sees them.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcompositerows_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcompositevalues_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcompositerows.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectrules_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbmetaenumwrapper_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtimepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtimepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtimepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatetimepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatetimepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatetimepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequencepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequencepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequencepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcharpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcharpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbplainvalues_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcharpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbmetaenumprovider.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbmetaenumprovider_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbmetaenumprovider.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pblocalepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblocalepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblocalepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointfpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointfpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbpointfpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizefpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizefpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizefpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectfpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectfpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbrectfpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbflagpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbflagpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbflagpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepolicypropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepolicypropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbsizepolicypropertymanager.cpp
)
