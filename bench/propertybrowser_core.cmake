# Creation, change and deletion of many integer properties through the
# property-browser core, with and without a browser showing them.
add_executable(propertybrowser_core_bench ${CMAKE_CURRENT_SOURCE_DIR}/propertybrowser_core_bench.cpp)
target_link_libraries(propertybrowser_core_bench PRIVATE propertybrowser Qt5::Widgets)
