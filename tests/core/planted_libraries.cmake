# Libraries named as the platform's ones that the runtime loads at run time,
# beside a copy of a child program in planted/: the child must still get the
# system's.
if(TARGET core_tests)
  set(PLANTED_DIR ${CMAKE_BINARY_DIR}/planted)
  foreach(name riched32 crtdll comdlg32)
    add_library(planted_${name} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/fakes/planted_library.cpp)
    target_link_libraries(planted_${name} PRIVATE project_options)
    set_target_properties(planted_${name} PROPERTIES
      OUTPUT_NAME ${name} PREFIX ""
      RUNTIME_OUTPUT_DIRECTORY ${PLANTED_DIR}
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted_${name})
    add_dependencies(core_tests planted_${name})
  endforeach()
  add_custom_target(planted_child
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PLANTED_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:system_libraries_child> ${PLANTED_DIR}/
    DEPENDS system_libraries_child)
  add_dependencies(core_tests planted_child)
endif()
