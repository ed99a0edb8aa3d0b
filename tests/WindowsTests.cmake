# The Windows build's tests, run under wine (tests/wine/run.sh): the suites of the
# layers without a toolkit that hold on Windows as they stand, and tests of each Win32
# seam, and of the engine over them, on real files, keys and windows.

find_program(wine_program wine REQUIRED)

# GoogleTest from Debian's sources, built with the toolchain of this build.
set(KESTRAVA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KESTRAVA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its own warnings are its own business, not a reason to stop our build.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
include(GoogleTest)

add_library(kestrava_test_support STATIC
    support/TemporaryFolder.cpp
    support/win32/NativePaths.cpp
    support/win32/NativeSeams.cpp
    support/win32/NativeSettings.cpp
    support/win32/TestRegistryKey.cpp
    support/win32/WindowsTestSupport.cpp)
target_include_directories(kestrava_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kestrava_test_support PUBLIC kestrava_platform GTest::gtest)
target_compile_definitions(kestrava_test_support PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
kestrava_warnings(kestrava_test_support)

add_executable(kestrava_windows_tests
    unit/cli/CommandsTest.cpp
    unit/cli/CompactTest.cpp
    unit/cli/HistoryTest.cpp
    unit/cli/PruneReportTest.cpp
    unit/cli/PruneTest.cpp
    unit/cli/ReportTest.cpp
    unit/cli/SnapshotExcludeTest.cpp
    unit/cli/win32/AnsiLogTest.cpp
    unit/cli/win32/SnapshotExcludeOnWindowsTest.cpp
    unit/core/ConversionsTest.cpp
    unit/core/ErrorReportTest.cpp
    unit/core/NameHelpersTest.cpp
    unit/engine/ConvertSizeTest.cpp
    unit/engine/IntervalScheduleTest.cpp
    unit/engine/SnapshotRowsTest.cpp
    unit/history/EntryComparisonTest.cpp
    unit/history/GlobTest.cpp
    unit/history/GrowingRoomTest.cpp
    unit/history/LogReadingTest.cpp
    unit/history/ParallelWorkTest.cpp
    unit/history/PathFilterTest.cpp
    unit/history/PathQueryTest.cpp
    unit/history/PatternFileTest.cpp
    unit/history/ShapedTextTest.cpp
    unit/history/StoreTest.cpp
    unit/history/win32/PlatformPatternsTest.cpp
    unit/tray/cSysTrayTest.cpp
    unit/core/win32/MainOnWindowsTest.cpp
    unit/engine/win32/FilesElsewhereOnWindowsTest.cpp
    unit/engine/win32/SnapshotOnWindowsTest.cpp
    unit/engine/win32/WalkOnWindowsTest.cpp
    unit/platform/win32/LocalePicturesTest.cpp
    unit/platform/win32/OsErrorsTest.cpp
    unit/platform/win32/PathRulesTest.cpp
    unit/platform/win32/Win32ClipboardTest.cpp
    unit/platform/win32/Win32ClockTest.cpp
    unit/platform/win32/Win32DialogsTest.cpp
    unit/platform/win32/Win32EnvironmentTest.cpp
    unit/platform/win32/Win32EventPumpTest.cpp
    unit/platform/win32/Win32FileSystemTest.cpp
    unit/platform/win32/Win32LocaleTest.cpp
    unit/platform/win32/Win32NotifyAreaTest.cpp
    unit/platform/win32/Win32SettingsBackendTest.cpp
    unit/platform/win32/Win32ShellTest.cpp
    unit/platform/win32/Win32StartupRegistryTest.cpp)
target_link_libraries(kestrava_windows_tests PRIVATE
    kestrava_test_support kestrava_cli kestrava_history kestrava_engine kestrava_tray kestrava_settings kestrava_core
    kestrava_platform GTest::gtest_main)
kestrava_warnings(kestrava_windows_tests)

# Started by the shell's tests in place of notepad and explorer: writes down the
# command line it was given.
add_executable(kestrava_argument_echo wine/tools/argument-echo.cpp)
set_target_properties(kestrava_argument_echo PROPERTIES OUTPUT_NAME argument-echo)
target_compile_definitions(kestrava_argument_echo PRIVATE UNICODE _UNICODE)
target_link_libraries(kestrava_argument_echo PRIVATE shell32)
kestrava_warnings(kestrava_argument_echo)
add_dependencies(kestrava_windows_tests kestrava_argument_echo)

# Every test runs under wine in the build's own prefix, with one wine server and one
# virtual screen (for the windows, boxes, tray and clipboard) for the whole run.
set(wine_runner ${CMAKE_CURRENT_SOURCE_DIR}/wine/run.sh)
set(wine_state ${CMAKE_BINARY_DIR}/wine)
set_target_properties(kestrava_windows_tests PROPERTIES
    CROSSCOMPILING_EMULATOR "${wine_runner};exec;${wine_state}")
add_test(NAME windows.session-up COMMAND ${wine_runner} up ${wine_state})
add_test(NAME windows.session-down COMMAND ${wine_runner} down ${wine_state})
set_tests_properties(windows.session-up PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 120)
set_tests_properties(windows.session-down PROPERTIES FIXTURES_CLEANUP wine_session)
# The tests are found in the sources, not by running the program: a program that ran
# before the session is up would start wine's desktop without a screen.
gtest_add_tests(TARGET kestrava_windows_tests TEST_PREFIX "windows." TEST_LIST windows_tests)
# Local time is Berlin's, whose changes of offset the clock's tests know.
set_tests_properties(${windows_tests} PROPERTIES
    FIXTURES_REQUIRED wine_session ENVIRONMENT "TZ=Europe/Berlin" TIMEOUT 120)

# The real kestrava.exe under wine on a virtual screen with a window manager and a
# tray host, in a wine prefix of their own; one at a time and with nothing beside them,
# since a loaded machine makes the window manager and wine miss each other's changes.
set(wine_e2e ${CMAKE_CURRENT_SOURCE_DIR}/e2e/windows)
foreach(scenario main-window automatic-logging tray start-at-logon clear-during-snapshot
        two-writers compact-beside-window)
    add_test(NAME windows.e2e.${scenario}
        COMMAND ${wine_e2e}/run-in-wine-desktop.sh ${wine_e2e}/${scenario}.sh
                $<TARGET_FILE:kestrava> ${CMAKE_CURRENT_BINARY_DIR}/e2e-output/${scenario}
                ${CMAKE_BINARY_DIR}/wine-e2e)
    set_tests_properties(windows.e2e.${scenario} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE
        ENVIRONMENT "KESTRAVA_LOG=$<TARGET_FILE:kestrava_log>")
endforeach()

# The real kestrava-log.exe, a console program: no screen of its own.
add_test(NAME windows.e2e.kestrava-log
    COMMAND ${wine_e2e}/kestrava-log.sh ${wine_runner} ${wine_state} $<TARGET_FILE:kestrava_log>
            ${CMAKE_CURRENT_BINARY_DIR}/e2e-output/kestrava-log)
set_tests_properties(windows.e2e.kestrava-log PROPERTIES FIXTURES_REQUIRED wine_session
    TIMEOUT 120)
add_test(NAME windows.e2e.kestrava-log-rewrites
    COMMAND ${wine_e2e}/kestrava-log-rewrites.sh ${wine_runner} ${wine_state}
            $<TARGET_FILE:kestrava_log> ${CMAKE_CURRENT_BINARY_DIR}/e2e-output/kestrava-log-rewrites)
set_tests_properties(windows.e2e.kestrava-log-rewrites PROPERTIES
    FIXTURES_REQUIRED wine_session TIMEOUT 300)
