# What a program of the project gets to ship: the version header its
# resources read, and the build's exe as users get it.

# The version resource takes its numbers from the project's version.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version/reachlet_version.h CONTENT [[
#define REACHLET_VERSION_NUMBERS @PROJECT_VERSION_MAJOR@,@PROJECT_VERSION_MINOR@,@PROJECT_VERSION_PATCH@,0
#define REACHLET_VERSION_TEXT "@PROJECT_VERSION@"
]] @ONLY)

# The exe as built is the one users get: stripped, with its debug
# information kept in <name>.exe.debug beside it, which a debugger finds
# through the .gnu_debuglink section (file name and checksum).
function(ship_program target)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/version)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE_NAME:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
