# The variant property, the variant manager and the variant editor factory.
list(APPEND PB_SOURCES)
