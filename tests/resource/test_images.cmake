# Files for the image loader's tests, drawn by ImageMagick at build time, and
# the pixels ImageMagick reads back from them (test_images_pixels.h). The
# tests find them in test_images/ of the build tree; the resource compiler
# builds the program's test resources from them.
if(TARGET resource_tests)
  set(TEST_IMAGES_DIR ${CMAKE_BINARY_DIR}/test_images)
  set(TEST_IMAGE_FILES pattern.bmp greys.bmp two_sizes.ico pointer.cur photo.jpg banner.gif picture.png
      note.txt test_images_pixels.h)
  list(TRANSFORM TEST_IMAGE_FILES PREPEND ${TEST_IMAGES_DIR}/)
  add_custom_command(
    OUTPUT ${TEST_IMAGE_FILES}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/resource/make_test_images.sh ${TEST_IMAGES_DIR}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resource/make_test_images.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/support/pixels_header.sh
    COMMENT "Drawing the image loader's test files with ImageMagick")
  set(test_images_rc ${CMAKE_CURRENT_SOURCE_DIR}/resource/test_images.rc)
  target_sources(resource_tests PRIVATE ${test_images_rc} ${TEST_IMAGES_DIR}/test_images_pixels.h)
  set_property(SOURCE ${test_images_rc} APPEND PROPERTY INCLUDE_DIRECTORIES ${TEST_IMAGES_DIR})
  set_property(SOURCE ${test_images_rc} APPEND PROPERTY OBJECT_DEPENDS ${TEST_IMAGE_FILES})
  target_include_directories(resource_tests PRIVATE ${TEST_IMAGES_DIR})
endif()
