# SPDX-License-Identifier: GPL-3.0-or-later
# What an installation holds besides the programs: udev rule, manual pages, bash completion, and
# for the window its desktop entry, AppStream metadata, icon and D-Bus activation file.

# udev reads rules only below /usr/lib, /lib, /etc and /run: an install to /usr/local or /opt
# still puts its rule where udev finds it (under DESTDIR when one is given).
set(Q905_UDEV_RULES_DIR "/usr/lib/udev/rules.d" CACHE PATH "Where the udev rule is installed")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/70-q905.rules DESTINATION ${Q905_UDEV_RULES_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/man/q905ctl.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The version is the project's; the Debian changelog and the metainfo's newest release repeat
# it, and the metainfo's release date is the changelog's. A release that changes one and not
# the others stops here.
file(STRINGS ${CMAKE_SOURCE_DIR}/debian/changelog Q905_CHANGELOG_HEAD LIMIT_COUNT 1)
file(STRINGS ${CMAKE_SOURCE_DIR}/debian/changelog Q905_CHANGELOG_DATE REGEX "^ -- " LIMIT_COUNT 1)
file(READ ${CMAKE_SOURCE_DIR}/packaging/io.github.q905.q905.metainfo.xml Q905_METAINFO)
string(REGEX MATCH "<release version=\"([^\"]*)\" date=\"([^\"]*)\"" Q905_RELEASE "${Q905_METAINFO}")
set(Q905_METAINFO_VERSION "${CMAKE_MATCH_1}")
set(Q905_METAINFO_DATE "${CMAKE_MATCH_2}")
string(REGEX MATCH "^q905 \\(([^)]*)\\)" Q905_MATCHED "${Q905_CHANGELOG_HEAD}")
set(Q905_CHANGELOG_VERSION "${CMAKE_MATCH_1}")
string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " Q905_MATCHED
       "${Q905_CHANGELOG_DATE}")
set(Q905_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND Q905_MONTHS "${CMAKE_MATCH_2}" Q905_MONTH)
math(EXPR Q905_MONTH "${Q905_MONTH} + 1")
if(Q905_MONTH LESS 10)
    set(Q905_MONTH "0${Q905_MONTH}")
endif()
set(Q905_CHANGELOG_ISO_DATE "${CMAKE_MATCH_3}-${Q905_MONTH}-${CMAKE_MATCH_1}")
if(NOT Q905_CHANGELOG_VERSION STREQUAL PROJECT_VERSION OR
   NOT Q905_METAINFO_VERSION STREQUAL PROJECT_VERSION OR
   NOT Q905_METAINFO_DATE STREQUAL Q905_CHANGELOG_ISO_DATE)
    message(FATAL_ERROR "The release is ${PROJECT_VERSION} (CMakeLists.txt), but debian/changelog "
            "says ${Q905_CHANGELOG_VERSION} of ${Q905_CHANGELOG_ISO_DATE} and the metainfo's "
            "newest release ${Q905_METAINFO_VERSION} of ${Q905_METAINFO_DATE}")
endif()

# The completion's word lists come from the key table and the key names at build time.
add_executable(q905_completion_words ${CMAKE_SOURCE_DIR}/packaging/completion/CompletionWords.cpp)
target_link_libraries(q905_completion_words PRIVATE q905cli)
target_compile_options(q905_completion_words PRIVATE ${Q905_WARNINGS})
set(Q905_COMPLETION ${CMAKE_BINARY_DIR}/completion/q905ctl)
add_custom_command(OUTPUT ${Q905_COMPLETION}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/completion
    COMMAND q905_completion_words ${CMAKE_SOURCE_DIR}/packaging/completion/q905ctl.bash.in
            ${Q905_COMPLETION}
    DEPENDS q905_completion_words ${CMAKE_SOURCE_DIR}/packaging/completion/q905ctl.bash.in)
add_custom_target(q905_completion ALL DEPENDS ${Q905_COMPLETION})
install(FILES ${Q905_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

if(TARGET q905)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/man/q905.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    # A desktop entry the desktop starts through the bus is named after the bus name.
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/q905.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME io.github.q905.q905.desktop)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/dbus/io.github.q905.q905.service.in
                   ${CMAKE_BINARY_DIR}/dbus/io.github.q905.q905.service @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/dbus/io.github.q905.q905.service
            DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/services)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/dbus/io.github.q905.Keyboard1.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/io.github.q905.q905.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # Once, in the icon theme; the window finds it there too.
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/scalable/apps/q905.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

if(Q905_BUILD_TESTS)
    add_test(NAME packaging.InstallTreeAndValidators
             COMMAND ${CMAKE_SOURCE_DIR}/packaging/check-install.sh ${CMAKE_BINARY_DIR}
                     ${CMAKE_CURRENT_BINARY_DIR}/install-check)
    set_tests_properties(packaging.InstallTreeAndValidators PROPERTIES SKIP_RETURN_CODE 77)
    add_test(NAME packaging.BuildDependsMatchSetup
             COMMAND ${CMAKE_SOURCE_DIR}/packaging/check-build-depends.sh)
endif()
