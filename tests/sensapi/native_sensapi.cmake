# Included by CTest after the discovered sensapi test cases are defined.
# Wine loads its own sensapi even for a DLL loaded by path unless told to
# prefer native code for it.
if(DEFINED sensapi_tests_TESTS)
  set_tests_properties(${sensapi_tests_TESTS} PROPERTIES
    ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;sensapi=n,b")
endif()
