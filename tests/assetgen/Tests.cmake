# Tests of the generated graphics (label "assets"); included from tools/assetgen.
find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

add_executable(pavilore_assetgen_tests ${CMAKE_CURRENT_LIST_DIR}/AssetgenTest.cpp)
target_link_libraries(pavilore_assetgen_tests PRIVATE pavilore_assetgen GTest::gtest)
target_compile_definitions(pavilore_assetgen_tests PRIVATE
  PAVILORE_GRAPHICS_DIR="${PAVILORE_GRAPHICS_DIR}")
# The tests read the pictures the build wrote.
add_dependencies(pavilore_assetgen_tests pavilore_graphics)
gtest_discover_tests(pavilore_assetgen_tests DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS assets ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

add_test(NAME assets.preview
  COMMAND pavilore-assetgen --preview ${CMAKE_BINARY_DIR}/graphics-preview/board-default.png)
set_tests_properties(assets.preview PROPERTIES LABELS assets ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
