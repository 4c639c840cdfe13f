# Populate, update and clear a parameter tree in the tree property browser,
# then a tree of variant properties. The parameter tree's managers and
# factories are the tree tests' own set (header only).
add_executable(propertybrowser_tree_bench ${CMAKE_CURRENT_SOURCE_DIR}/propertybrowser_tree_bench.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/propertybrowser_tree_variant.h
  ${CMAKE_CURRENT_SOURCE_DIR}/propertybrowser_tree_variant.cpp)
target_include_directories(propertybrowser_tree_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/propertybrowser)
target_link_libraries(propertybrowser_tree_bench PRIVATE propertybrowser Qt5::Widgets)
