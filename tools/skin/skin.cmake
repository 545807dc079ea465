# SPDX-License-Identifier: GPL-3.0-or-later
# The skin pictures: drawn by a generator from the key table and the window's fixed places, so
# they always fit the rectangles the program hit-tests and copies.
find_package(Qt6 COMPONENTS Gui REQUIRED)

file(GLOB Q905_SKIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/skin/*.cpp)
add_executable(q905_skin_generator ${Q905_SKIN_SOURCES})
target_include_directories(q905_skin_generator PRIVATE ${CMAKE_SOURCE_DIR}/tools)
# Runs at build time: never instrumented, so it links a plain copy of the core under a sanitizer.
if(Q905_SANITIZE)
    q905_add_core(q905core_uninstrumented)
    set_target_properties(q905core_uninstrumented PROPERTIES Q905_UNINSTRUMENTED ON AUTOMOC OFF)
    set_target_properties(q905_skin_generator PROPERTIES Q905_UNINSTRUMENTED ON)
    target_link_libraries(q905_skin_generator PRIVATE q905core_uninstrumented Qt6::Gui)
else()
    target_link_libraries(q905_skin_generator PRIVATE q905core Qt6::Gui)
endif()
target_compile_options(q905_skin_generator PRIVATE ${Q905_WARNINGS})
set_target_properties(q905_skin_generator PROPERTIES AUTOMOC OFF)

set(Q905_SKIN_OUTPUT ${CMAKE_BINARY_DIR}/png)
set(Q905_SKIN_STAMP ${CMAKE_CURRENT_BINARY_DIR}/q905_skin.stamp)
add_custom_command(
    OUTPUT ${Q905_SKIN_STAMP}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:q905_skin_generator> ${Q905_SKIN_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E touch ${Q905_SKIN_STAMP}
    DEPENDS q905_skin_generator
    COMMENT "Drawing the skin pictures into ${Q905_SKIN_OUTPUT}"
    VERBATIM)
add_custom_target(q905_skin ALL DEPENDS ${Q905_SKIN_STAMP})

if(TARGET q905)
    add_dependencies(q905 q905_skin)
endif()

install(DIRECTORY ${Q905_SKIN_OUTPUT}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/q905/png)
