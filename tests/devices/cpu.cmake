gd_add_test(test_scan_cache
  SOURCES TestScanCache.cpp TestSimOutputReport.cpp
  LIBS gd_devices gd_hid gd_sim gd_platform)
