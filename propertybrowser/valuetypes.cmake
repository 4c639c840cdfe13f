# Date, time, key-sequence, character, locale, point, size, rectangle, flag and
# size-policy managers.
list(APPEND PB_SOURCES)
