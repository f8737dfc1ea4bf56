# Included by CTest after the discovered app test cases are defined: they
# load the scripted sensapi.dll beside them, not Wine's own.
if(DEFINED app_tests_TESTS)
  set_tests_properties(${app_tests_TESTS} PROPERTIES
    ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;sensapi=n,b")
endif()
