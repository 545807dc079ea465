find_package(GTest REQUIRED)
include(GoogleTest)

# Core tests: everything below tests/ except the window tests in tests/ui.
file(GLOB_RECURSE Q905_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
list(FILTER Q905_TEST_SOURCES EXCLUDE REGEX "/tests/(ui|tsan)/")
file(GLOB Q905_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)

add_executable(q905_tests ${Q905_TEST_SOURCES} ${Q905_TEST_SUPPORT})
target_include_directories(q905_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(q905_tests PRIVATE q905app GTest::gtest GTest::gmock GTest::gtest_main)
target_compile_options(q905_tests PRIVATE ${Q905_WARNINGS})
target_compile_definitions(q905_tests PRIVATE
    Q905_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    Q905_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    Q905_CTL_PATH="$<TARGET_FILE:q905ctl>")
add_dependencies(q905_tests q905ctl)
gtest_discover_tests(q905_tests DISCOVERY_TIMEOUT 60)

# The read thread and snapshots under ThreadSanitizer: a second build of the core.
if(Q905_TSAN_TEST)
    file(GLOB Q905_TSAN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tsan/*_test.cpp)
    if(Q905_TSAN_TEST_SOURCES)
        add_library(q905core_tsan STATIC ${Q905_CORE_SOURCES} ${Q905_EMULATOR_SOURCES} ${Q905_APP_SOURCES})
        target_include_directories(q905core_tsan PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_compile_options(q905core_tsan PUBLIC -fsanitize=thread -g -O1)
        target_link_options(q905core_tsan PUBLIC -fsanitize=thread)
        target_link_libraries(q905core_tsan PUBLIC Threads::Threads)
        if(UDEV_FOUND)
            target_link_libraries(q905core_tsan PUBLIC PkgConfig::UDEV)
            target_compile_definitions(q905core_tsan PUBLIC Q905_HAVE_LIBUDEV=1)
        endif()
        add_executable(q905_tsan_tests ${Q905_TSAN_TEST_SOURCES} ${Q905_TEST_SUPPORT})
        target_include_directories(q905_tsan_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_libraries(q905_tsan_tests PRIVATE q905core_tsan GTest::gtest GTest::gtest_main)
        add_test(NAME tsan.InitialReadWithSnapshots COMMAND q905_tsan_tests)
        set_tests_properties(tsan.InitialReadWithSnapshots PROPERTIES
            ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1:exitcode=66")
    endif()
endif()

if(Q905_BUILD_GUI AND EXISTS ${CMAKE_SOURCE_DIR}/tests/ui/ui.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/ui/ui.cmake)
endif()
