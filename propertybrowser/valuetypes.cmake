# Date, time, key-sequence, character, locale, point, size, rectangle, flag and
# size-policy managers, and the sub-row maps they share.
list(APPEND PB_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcompositerows_p.h
  ${CMAKE_CURRENT_SOURCE_DIR}/pbcompositerows.cpp
)
