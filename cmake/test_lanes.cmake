# Two CTest entries run at once, each in a lane of its own (tests/lanes.json,
# scripts/lane.sh): a virtual display, a Wine prefix and a wineserver. On one
# shared display a window that one entry shows takes the focus from the
# other's and covers the pixels it reads.
#
#   give_tests_lanes()   at the end of every directory that adds tests
function(give_tests_lanes)
  get_property(tests DIRECTORY PROPERTY TESTS)
  if(tests)
    set_tests_properties(${tests} PROPERTIES RESOURCE_GROUPS "lane:1")
  endif()
endfunction()
