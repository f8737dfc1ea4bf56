# The README's example program: taken out of README.md at build time, built
# against the runtime, and run beside the bitmap and text file it reads; it passes when it
# prints what the README says it prints.
set(README_EXAMPLE_DIR ${CMAKE_BINARY_DIR}/readme_example)
add_custom_command(
  OUTPUT ${README_EXAMPLE_DIR}/readme_example.cpp ${README_EXAMPLE_DIR}/logo.bmp ${README_EXAMPLE_DIR}/notes.txt
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/readme_example.sh ${PROJECT_SOURCE_DIR}/README.md ${README_EXAMPLE_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_SOURCE_DIR}/app/readme_example.sh
  COMMENT "Taking the example program out of the README")
add_executable(readme_example WIN32 ${README_EXAMPLE_DIR}/readme_example.cpp)
target_link_libraries(readme_example PRIVATE runtime product_options)
set_target_properties(readme_example PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${README_EXAMPLE_DIR})
scaled_seconds(readme_example_limit 60)
add_test(NAME app/readme_example COMMAND readme_example WORKING_DIRECTORY ${README_EXAMPLE_DIR})
set_tests_properties(app/readme_example PROPERTIES
  TIMEOUT ${readme_example_limit} PASS_REGULAR_EXPRESSION "(^|\n)logo\\.bmp: 48 by 32 pixels\r?\nnotes\\.txt: 3 lines\r?\n")
