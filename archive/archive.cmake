# Sources of the ZPAQ extractor library.
list(APPEND ARCHIVE_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/extract_archive.cpp)
