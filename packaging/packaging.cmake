# SPDX-License-Identifier: GPL-3.0-or-later
# What an installation holds besides the programs: udev rule, manual pages, bash completion, and
# for the window its desktop entry, AppStream metadata and icon.

install(FILES ${CMAKE_SOURCE_DIR}/packaging/70-q905.rules DESTINATION lib/udev/rules.d)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/man/q905ctl.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/scalable/apps/q905.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # The window's own icon when the desktop's icon theme does not have it.
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor/scalable/apps/q905.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/q905)
endif()

if(Q905_BUILD_TESTS)
    add_test(NAME packaging.InstallTreeAndValidators
             COMMAND ${CMAKE_SOURCE_DIR}/packaging/check-install.sh ${CMAKE_BINARY_DIR}
                     ${CMAKE_CURRENT_BINARY_DIR}/install-check)
    set_tests_properties(packaging.InstallTreeAndValidators PROPERTIES SKIP_RETURN_CODE 77)
endif()
