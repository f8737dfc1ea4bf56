# mingw-w64 ships no import library for sensapi.dll; make one from a .def.
set(SENSAPI_IMPORT_LIB ${CMAKE_BINARY_DIR}/libsensapi.a)
add_custom_command(
  OUTPUT ${SENSAPI_IMPORT_LIB}
  COMMAND ${CMAKE_DLLTOOL} -k -d ${CMAKE_CURRENT_LIST_DIR}/sensapi.def -l ${SENSAPI_IMPORT_LIB}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/sensapi.def
  COMMENT "Generating the sensapi import library")
add_custom_target(sensapi_import DEPENDS ${SENSAPI_IMPORT_LIB})
add_library(sensapi STATIC IMPORTED GLOBAL)
set_target_properties(sensapi PROPERTIES IMPORTED_LOCATION ${SENSAPI_IMPORT_LIB})
add_dependencies(sensapi sensapi_import)
