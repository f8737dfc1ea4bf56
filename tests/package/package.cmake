# The runtime as other projects take it: its layers point down, and an
# outside project builds against it installed and through add_subdirectory.
# Labelled "host": they need a compiler and no Wine, so where the suite runs
# in the virtual machine (which has no compiler) the host runs them first.
add_test(NAME package/Layers
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package/layers_check.sh ${PROJECT_SOURCE_DIR}/runtime)
scaled_seconds(outside_project_limit 300)
add_test(NAME package/OutsideProject
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package/outside_project_check.sh
          ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(package/OutsideProject PROPERTIES
  TIMEOUT ${outside_project_limit} SKIP_RETURN_CODE 77)
set_tests_properties(package/Layers package/OutsideProject PROPERTIES LABELS host)
