# CTest entries for a GoogleTest program: one entry per fixture, whose cases
# share one Wine process (scripts/run-cases.sh), and one entry per case for
# the cases that need a process of their own.
#
#   add_case_entries(<target> <name prefix> <seconds a case may take>
#                    [NATIVE_SENSAPI] [OWN_PROCESS <Fixture> | <Fixture.Case> ...])
#
# NATIVE_SENSAPI: Wine loads its own sensapi.dll even for a DLL loaded by
# path unless told to prefer native code for it; these programs load the
# project's or the scripted one beside them.
# The fixtures and cases are read from the program's sources when CMake
# configures, so CTest needs no run of the program to know its entries and
# no module of the CMake that configured it: the test files work with the
# CTest of another release, as the virtual machine's may be.
#
# Cases whose names start with DISABLED_ are the long set (a night of ticks,
# thousands of windows): each gets an entry of its own, labelled "long",
# which runs only when asked (scripts/test.sh --long), for as long as
# long_case_seconds allows.
function(add_case_entries target prefix case_seconds)
  cmake_parse_arguments(PARSE_ARGV 3 arg "NATIVE_SENSAPI" "" "OWN_PROCESS")
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(fixtures)
  foreach(source ${sources})
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${source_dir}/${source}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    file(READ "${source}" text)
    string(REGEX MATCHALL "\n(TEST|TEST_F|TEST_P)\\([ \t\r\n]*[A-Za-z0-9_]+[ \t\r\n]*,[ \t\r\n]*[A-Za-z0-9_]+"
           found "\n${text}")
    foreach(match ${found})
      string(REGEX REPLACE "^\n(TEST|TEST_F|TEST_P)\\([ \t\r\n]*([A-Za-z0-9_]+)[ \t\r\n]*,[ \t\r\n]*([A-Za-z0-9_]+)$"
             "\\1;\\2;\\3" parts "${match}")
      list(GET parts 0 macro)
      list(GET parts 1 fixture)
      list(GET parts 2 case)
      if(case MATCHES "^DISABLED_")
        list(APPEND long_cases "${fixture}.${case}")
        continue()
      endif()
      if(NOT fixture IN_LIST fixtures)
        list(APPEND fixtures ${fixture})
        set(cases_${fixture})
      endif()
      list(APPEND cases_${fixture} ${case})
      if(macro STREQUAL "TEST_P")
        set(param_${fixture} TRUE)
      endif()
    endforeach()
  endforeach()

  set(command bash ${PROJECT_SOURCE_DIR}/scripts/run-cases.sh $<TARGET_FILE:${target}>)
  foreach(fixture ${fixtures})
    # A parameterised fixture's cases are named Instance/Fixture.Case/N.
    if(param_${fixture})
      set(all "${fixture}.*:*/${fixture}.*")
    else()
      set(all "${fixture}.*")
    endif()
    set(excluded)
    foreach(case ${cases_${fixture}})
      if(fixture IN_LIST arg_OWN_PROCESS OR "${fixture}.${case}" IN_LIST arg_OWN_PROCESS)
        if(param_${fixture})
          set(one "${fixture}.${case}:*/${fixture}.${case}/*")
        else()
          set(one "${fixture}.${case}")
        endif()
        add_test(NAME ${prefix}${fixture}.${case} COMMAND ${command} "${one}" ${case_seconds})
        _case_entry_properties(${prefix}${fixture}.${case} 1)
        list(APPEND excluded "${one}")
      endif()
    endforeach()
    list(LENGTH cases_${fixture} count)
    list(LENGTH excluded own)
    if(own LESS count)
      if(excluded)
        list(JOIN excluded ":" skip)
        set(all "${all}-${skip}")
      endif()
      math(EXPR shared "${count} - ${own}")
      add_test(NAME ${prefix}${fixture} COMMAND ${command} "${all}" ${case_seconds})
      _case_entry_properties(${prefix}${fixture} ${shared})
    endif()
  endforeach()

  foreach(long ${long_cases})
    string(REPLACE ".DISABLED_" "." name "${long}")
    add_test(NAME ${prefix}${name}
             COMMAND ${command} "${long}" ${long_case_seconds} --gtest_also_run_disabled_tests)
    set(fixture)
    _case_entry_properties(${prefix}${name} 1)
    math(EXPR backstop "${long_case_seconds} * 2")
    set_tests_properties(${prefix}${name} PROPERTIES LABELS long TIMEOUT ${backstop})
  endforeach()
endfunction()

# CTest's own limit is a backstop only: run-cases.sh stops a case that runs
# past its time and goes on with the rest.
macro(_case_entry_properties entry cases)
  # A parameterised case stands for several.
  if(param_${fixture})
    math(EXPR backstop "${case_seconds} * (${cases} * 8 + 1)")
  else()
    math(EXPR backstop "${case_seconds} * (${cases} + 1)")
  endif()
  set_tests_properties(${entry} PROPERTIES TIMEOUT ${backstop})
  if(arg_NATIVE_SENSAPI)
    set_tests_properties(${entry} PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;sensapi=n,b")
  endif()
endmacro()
