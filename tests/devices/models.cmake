gd_add_test(test_device_models
  SOURCES TestMouseDevice.cpp TestPadHeadsetDevice.cpp TestDeviceBase.cpp
  LIBS gd_devices gd_sim)
if(TARGET fake_osconflib)
  add_dependencies(test_device_models fake_osconflib)
  target_compile_definitions(test_device_models PRIVATE FAKE_OSCONF_DIR="$<TARGET_FILE_DIR:fake_osconflib>")
  target_include_directories(test_device_models PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform)
endif()

if(TARGET gaming-device-cli)
  gd_add_test(test_device_cli
    SOURCES TestDeviceCli.cpp
    LIBS Qt6::Core)
  add_dependencies(test_device_cli gaming-device-cli)
endif()
