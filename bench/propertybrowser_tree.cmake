# Populate, update and clear a parameter tree in the tree property browser.
add_executable(propertybrowser_tree_bench ${CMAKE_CURRENT_SOURCE_DIR}/propertybrowser_tree_bench.cpp)
target_link_libraries(propertybrowser_tree_bench PRIVATE propertybrowser Qt5::Widgets)
