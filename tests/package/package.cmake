# The runtime as other projects take it: its layers point down.
add_test(NAME package/Layers
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package/layers_check.sh ${PROJECT_SOURCE_DIR}/runtime)
