# The program's icon resource in the monitor's test program, so that the
# layout finds icon group 1 there as in Reachlet.exe, and the pixels that
# ImageMagick reads from its first image (app_icon_pixels.h).
if(TARGET app_tests)
  set(APP_ICON_DIR ${CMAKE_BINARY_DIR}/app_icon)
  set(app_icon ${PROJECT_SOURCE_DIR}/resources/reachlet.ico)
  add_custom_command(
    OUTPUT ${APP_ICON_DIR}/app_icon_pixels.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${APP_ICON_DIR}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/support/pixels_header.sh ${APP_ICON_DIR}/app_icon_pixels.h
            app_icon_0=${app_icon}[0]
    DEPENDS ${app_icon} ${CMAKE_CURRENT_SOURCE_DIR}/support/pixels_header.sh
    COMMENT "Reading the program's icon with ImageMagick")
  target_sources(app_tests PRIVATE ${PROJECT_SOURCE_DIR}/resources/reachlet.rc ${APP_ICON_DIR}/app_icon_pixels.h)
  # reachlet_version.h, which the resource script includes, is made for every program.
  target_include_directories(app_tests PRIVATE ${APP_ICON_DIR} ${PROJECT_BINARY_DIR}/version)
endif()
