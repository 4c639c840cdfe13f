# The text and time editors and their factories, the variant property, the
# variant manager and the variant editor factory.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeyfield_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeyfield.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcharedit.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcharedit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequenceedit.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequenceedit.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvalueeditors_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pblineeditfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdateeditfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdateeditfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtimeeditfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbtimeeditfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatetimeeditfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbdatetimeeditfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequenceeditorfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbkeysequenceeditorfactory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbchareditorfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbchareditorfactory.cpp
)
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvariantproperty.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvariantproperty.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvariantpropertymanager.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvariantpropertymanager_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvariantpropertymanager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvarianttypes.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvarianteditorfactory.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbvarianteditorfactory.cpp
)
