# Sources of the ZPAQ extractor library.
list(APPEND ARCHIVE_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/decode_error.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/squash_stretch.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/state_table.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/zpaql_machine.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/block_header.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/zeroed_table.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/hash_slots.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/counter_components.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/history_components.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/mixer_components.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/match_component.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/predictor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/arithmetic_decoder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/post_processor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/block_scanner.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/block_decoder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/journal.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/output_folder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/output_files.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/fragment_router.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/stream_output.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/decode_jobs.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/archive_input.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/archive_extractor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/extract_archive.cpp)
