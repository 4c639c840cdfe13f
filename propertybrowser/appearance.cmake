# Cursor database, painting utilities, font, colour and cursor managers and
# editors, and the button and group-box browsers.
list(APPEND PB_SOURCES)
