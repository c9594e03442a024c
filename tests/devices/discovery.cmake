gd_add_test(test_discovery
  SOURCES TestNotificationReader.cpp TestDeviceManager.cpp
  LIBS gd_devices gd_sim Qt6::Core)
