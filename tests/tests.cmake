# SPDX-License-Identifier: GPL-3.0-or-later
find_package(GTest REQUIRED)
include(GoogleTest)

# Under a sanitizer the first report fails the test. Window tests leave out leak checks: the
# font and platform libraries keep their caches to the end of the process. One variable each:
# test properties do not keep lists. A window test starts q905ctl from a process with threads
# (the keyboard session's): its child only execs, which TSan would otherwise refuse.
set(Q905_SANITIZER_ENVIRONMENT)
set(Q905_UI_SANITIZER_ENVIRONMENT)
if(Q905_SANITIZE MATCHES "thread")
    set(Q905_SANITIZER_ENVIRONMENT
        "TSAN_OPTIONS=halt_on_error=1:exitcode=66:second_deadlock_stack=1:die_after_fork=0:suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp")
    set(Q905_UI_SANITIZER_ENVIRONMENT ${Q905_SANITIZER_ENVIRONMENT})
elseif(Q905_SANITIZE MATCHES "address")
    set(Q905_UI_SANITIZER_ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()

# Core tests: everything below tests/ except the window tests in tests/ui.
file(GLOB_RECURSE Q905_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
list(FILTER Q905_TEST_SOURCES EXCLUDE REGEX "/tests/ui/")
file(GLOB Q905_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)

add_executable(q905_tests ${Q905_TEST_SOURCES} ${Q905_TEST_SUPPORT})
target_include_directories(q905_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(q905_tests PRIVATE q905cli GTest::gtest GTest::gmock GTest::gtest_main)
target_compile_options(q905_tests PRIVATE ${Q905_WARNINGS})
target_compile_definitions(q905_tests PRIVATE
    Q905_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    Q905_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    Q905_CTL_PATH="$<TARGET_FILE:q905ctl>"
    Q905_COMPLETION_PATH="${Q905_COMPLETION}")
add_dependencies(q905_tests q905ctl q905_completion)
# Label "sanitize": what CI runs again under the sanitizers, the tests that run threads, windows
# or parsers. Left out: q905ctl's end-to-end cases, a process each that reads the whole keyboard
# (most of the suite's time) through code the device, app and file tests run in-process; kept:
# its concurrency cases and the hostile files it is given.
set(Q905_PROCESS_TESTS "Ctl.*:CtlDump.*:CtlFaults.*:CtlMacro.*:CtlOutput.*:CtlProfile.*:CtlSet.*")
gtest_discover_tests(q905_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "-${Q905_PROCESS_TESTS}"
    PROPERTIES LABELS sanitize ENVIRONMENT "${Q905_SANITIZER_ENVIRONMENT}")
gtest_discover_tests(q905_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "${Q905_PROCESS_TESTS}"
    PROPERTIES LABELS process ENVIRONMENT "${Q905_SANITIZER_ENVIRONMENT}")

# The libudev side of the hidraw listing, which the tests above replace by a recorded tree: q905ctl
# under umockdev, which serves a recorded udev database and sysfs. Its LD_PRELOAD cannot come
# after a sanitizer's runtime, so sanitizer builds leave it out.
find_program(Q905_UMOCKDEV_RUN umockdev-run)
if(Q905_UMOCKDEV_RUN AND NOT Q905_SANITIZE)
    add_test(NAME UdevHidrawDevices.ListsARecordedKeyboardThroughLibudev
        COMMAND ${Q905_UMOCKDEV_RUN}
            --device ${CMAKE_SOURCE_DIR}/tests/data/umockdev/keyboard.umockdev
            -- $<TARGET_FILE:q905ctl> list)
    # Interface numbers from HID_PHYS and from the usb_interface, collections from the hid
    # parent's report descriptor, no "mi_" where there is no USB interface.
    string(CONCAT Q905_UDEV_LIST_OUTPUT
        "^/dev/hidraw2#vid_04d9&pid_a12e\n"
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col01\n"
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col02\n"
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col03\n"
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col04  \\(notifications\\)\n"
        "/dev/hidraw11#vid_04d9&pid_a12e&mi_03  \\(commands\\)\n$")
    set_tests_properties(UdevHidrawDevices.ListsARecordedKeyboardThroughLibudev PROPERTIES
        LABELS process PASS_REGULAR_EXPRESSION "${Q905_UDEV_LIST_OUTPUT}")
else()
    message(STATUS "umockdev-run not found or a sanitizer build: the libudev listing is not tested")
endif()

if(Q905_BUILD_GUI AND EXISTS ${CMAKE_SOURCE_DIR}/tests/ui/ui.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/ui/ui.cmake)
endif()
