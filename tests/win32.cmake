# The Windows tests, run under Wine by ctest: the Win32 backends against what Wine really
# does (its clock, registry, the FTP client against a pyftpdlib server on loopback, ...).
set(SOMNAR_TEST_PEERS_DIR ${CMAKE_CURRENT_SOURCE_DIR}/peers)

file(GLOB sources CONFIGURE_DEPENDS backends_win32/*.cpp)
add_executable(win32_backend_tests ${sources})
target_include_directories(win32_backend_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(win32_backend_tests PRIVATE somnar_view_win32 somnar_platform_win32 somnar_ftp_curl somnar_logic somnar_rules_linux GTest::gmock
                                                  GTest::gtest_main)
target_compile_definitions(win32_backend_tests PRIVATE
    SOMNAR_TEST_PEERS_DIR="${SOMNAR_TEST_PEERS_DIR}" SOMNAR_PYTHON="/usr/bin/python3"
    SOMNAR_PROGRAM_EXE="Z:$<TARGET_FILE:somnar-scheduler>")
add_dependencies(win32_backend_tests somnar-scheduler)  # its icons are looked at

# The tests of the suites below talk to an FTP server on loopback that a test of ctest's
# starts before them and stops after them; they find it in SOMNAR_NET_PEER (a Windows path).
# They take turns: one upload against the shared server once stalled past its
# 30 s watchdog while the other ran beside it on a loaded machine.
set(peer_suites "CurlFtpClientWin32Test.*:WinsockHostAddressTest.*")
set(peer_folder ${CMAKE_CURRENT_BINARY_DIR}/net-peer)
add_test(NAME win32_net_peer_start COMMAND ${SOMNAR_TEST_PEERS_DIR}/ftp_peer start ${peer_folder})
add_test(NAME win32_net_peer_stop COMMAND ${SOMNAR_TEST_PEERS_DIR}/ftp_peer stop ${peer_folder})
set_tests_properties(win32_net_peer_start PROPERTIES FIXTURES_SETUP win32_net_peer)
set_tests_properties(win32_net_peer_stop PROPERTIES FIXTURES_CLEANUP win32_net_peer)
gtest_discover_tests(win32_backend_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "-${peer_suites}"
                     PROPERTIES TIMEOUT 120)
gtest_discover_tests(win32_backend_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "${peer_suites}"
                     PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED win32_net_peer RESOURCE_LOCK win32_net_peer
                                ENVIRONMENT "SOMNAR_NET_PEER=Z:${peer_folder}")

# The installer: a silent per-user install, the program started from there, the uninstall.
# A copy that holds the program's mutex and does not end makes the uninstaller refuse.
add_executable(running_copy_stand_in install/running_copy_stand_in.cpp)
target_link_libraries(running_copy_stand_in PRIVATE somnar_platform_win32)
add_test(NAME WindowsInstallerInstallsStartsAndRemovesButKeepsTheStoredValues
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/windows_installer.sh
                 ${PROJECT_BINARY_DIR}/somnar-scheduler-setup.exe ${PROJECT_VERSION}
                 $<TARGET_FILE:running_copy_stand_in>)
set_tests_properties(WindowsInstallerInstallsStartsAndRemovesButKeepsTheStoredValues PROPERTIES
                     TIMEOUT 120 RUN_SERIAL TRUE)

# The command prompt: the bare name runs somnar-scheduler.com, which answers there with the
# documented status and opens the window without keeping the prompt.
add_test(NAME e2e.command_prompt_win32
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/command_prompt_win32.sh ${PROJECT_BINARY_DIR}
                 ${PROJECT_VERSION})
set_tests_properties(e2e.command_prompt_win32 PROPERTIES LABELS e2e TIMEOUT 120 RUN_SERIAL TRUE)

# The window under Wine in its own Xvfb, driven with xdotool. The bare window is
# bench/wine-startup's yardstick.
add_executable(bare_window_win32 WIN32 ${PROJECT_SOURCE_DIR}/bench/bare_window_win32.cpp)
target_link_libraries(bare_window_win32 PRIVATE somnar_warnings)
target_include_directories(bare_window_win32 PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_options(bare_window_win32 PRIVATE -municode)
add_test(NAME e2e.window_win32 COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/window_win32.py
                                       $<TARGET_FILE:somnar-scheduler>)
set_tests_properties(e2e.window_win32 PROPERTIES LABELS e2e TIMEOUT 240 RUN_SERIAL TRUE)

# The window on the fake platform: real windows need an X server under Wine, so the
# program runs in one of its own.
file(GLOB view_sources CONFIGURE_DEPENDS view_win32/*.cpp fakes/*.cpp)
add_executable(win32_window_tests ${view_sources})
target_include_directories(win32_window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(win32_window_tests PRIVATE somnar_view_win32 somnar_logic somnar_rules_linux GTest::gmock
                                                 GTest::gtest_main)
add_test(NAME view_win32 COMMAND xvfb-run -a -s "-nolisten tcp" wine
                                 $<TARGET_FILE:win32_window_tests>)
set_tests_properties(view_win32 PROPERTIES LABELS view TIMEOUT 120)
