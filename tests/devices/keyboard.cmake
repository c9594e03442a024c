gd_add_test(test_keyboard
  SOURCES TestKeyboardParts.cpp TestKeyboardPreview.cpp TestKeyboardDevice.cpp
  LIBS gd_devices gd_sim)
target_compile_definitions(test_keyboard PRIVATE GD_TEST_DEFAULT_DATA="${CMAKE_SOURCE_DIR}/DefaultData")
