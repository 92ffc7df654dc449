# The core tests of the Windows build, run under Wine by scripts/windows-test.sh. The tests that
# need POSIX (sysfs, processes of their own) are not here.
corvane_add_tests(corvane_core_tests corvane_core
  LIBRARIES GTest::gtest GTest::gtest_main
  SOURCES
    app/ClockModeProcessTest.cpp
    app/CommandLineTest.cpp
    app/DemoMachineTest.cpp
    app/PresetCommandProcessTest.cpp
    app/RestartTest.cpp
    app/SplashTimingTest.cpp
    app/StartupTest.cpp
    presets/IniFileTest.cpp
    hardware/ClockSpeedTest.cpp
    hardware/ChipInfoTest.cpp
    hardware/FirmwareQueriesTest.cpp
    hardware/SmallPortTest.cpp
    platform/regfile/RegistryTreeTest.cpp
    platform/regfile/RegSourceTest.cpp
    platform/sim/SimMachineTest.cpp
    presets/PresetFileTest.cpp
    presets/PresetFolderTest.cpp
    platform/files/FileIdentityTest.cpp
    platform/files/TextCodecTest.cpp
    settings/DriverSettingsTest.cpp
    settings/DvdSettingsTest.cpp
    settings/RegistryTest.cpp
    sysinfo/SysInfoTest.cpp
    platform/win32/AtomicFileTest.cpp
    platform/win32/FolderLockTest.cpp
    platform/win32/IniDifferentialTest.cpp
    platform/win32/ProcessRunnerTest.cpp
    platform/win32/RegeditInteropTest.cpp
    platform/win32/ScratchRegistryStore.cpp
    platform/win32/Win32ClockModeTest.cpp
    platform/win32/Win32PlatformTest.cpp
    platform/win32/Win32RegistryStoreTest.cpp
)
# Compiled alone in a unity build (-DCMAKE_UNITY_BUILD=ON, as CI builds): names another file of
# this list uses too.
set_source_files_properties(platform/regfile/RegistryTreeTest.cpp
  platform/win32/Win32RegistryStoreTest.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
