# Included by CTest after the discovered test cases are defined: the
# monitor's cases load the scripted sensapi.dll beside them, not Wine's own.
foreach(cases app_tests_TESTS night_tests_TESTS)
  if(DEFINED ${cases})
    set_tests_properties(${${cases}} PROPERTIES
      ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;sensapi=n,b")
  endif()
endforeach()
