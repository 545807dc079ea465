# SPDX-License-Identifier: GPL-3.0-or-later
#Window tests : headless(offscreen platform), clicking the window's own coordinates with QTest.
if (NOT TARGET q905gui)
    return()
endif()
find_package(Qt6 COMPONENTS Test REQUIRED)
file(GLOB Q905_UI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp)
if(NOT Q905_UI_TEST_SOURCES)
    return()
endif()
add_executable(q905_ui_tests ${Q905_UI_TEST_SOURCES})
target_include_directories(q905_ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(q905_ui_tests PRIVATE q905gui Qt6::Test GTest::gtest GTest::gmock)
target_compile_options(q905_ui_tests PRIVATE ${Q905_WARNINGS})
target_compile_definitions(q905_ui_tests PRIVATE Q905_SKIN_DIR="${CMAKE_BINARY_DIR}"
    Q905_GUI_PATH="$<TARGET_FILE:q905>" Q905_CTL_PATH="$<TARGET_FILE:q905ctl>")
add_dependencies(q905_ui_tests q905 q905ctl)
if(TARGET q905_skin)
    add_dependencies(q905_ui_tests q905_skin)
endif()
# main.cpp chooses the offscreen platform unless one is set, so a sanitizer's options can take
# the one environment entry.
if(Q905_UI_SANITIZER_ENVIRONMENT)
    set(Q905_UI_TEST_ENVIRONMENT ${Q905_UI_SANITIZER_ENVIRONMENT})
else()
    set(Q905_UI_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
gtest_discover_tests(q905_ui_tests DISCOVERY_TIMEOUT 60
    TEST_FILTER "-AtRatioTwo.*:StatusNotifierTray.*"
    PROPERTIES ENVIRONMENT "${Q905_UI_TEST_ENVIRONMENT}" LABELS sanitize)
# The real tray icon against a StatusNotifier watcher: a bus and an X server of its own.
add_test(NAME ui.StatusNotifierTray
         COMMAND ${CMAKE_SOURCE_DIR}/tests/ui/run-with-status-notifier.sh $<TARGET_FILE:q905_ui_tests>)
set_tests_properties(ui.StatusNotifierTray PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
    ENVIRONMENT "${Q905_UI_SANITIZER_ENVIRONMENT}")
# Scaled screens: the "@2x" skin pixel for pixel at 2, and every fitted text keeping its size at
# 2 and at 1.5.
gtest_discover_tests(q905_ui_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "AtRatioTwo.*:*TextFit.*"
    TEST_PREFIX "ratio2." EXTRA_ARGS --scale-factor=2
    PROPERTIES ENVIRONMENT "${Q905_UI_TEST_ENVIRONMENT}" LABELS sanitize)
gtest_discover_tests(q905_ui_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "*TextFit.*"
    TEST_PREFIX "ratio1.5." EXTRA_ARGS --scale-factor=1.5
    PROPERTIES ENVIRONMENT "${Q905_UI_TEST_ENVIRONMENT}" LABELS sanitize)
