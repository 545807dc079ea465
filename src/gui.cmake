# SPDX-License-Identifier: GPL-3.0-or-later
# The window side: Qt 6 Widgets. Everything under src/*/ui and src/platform/qt; the core stays
# free of Qt.
find_package(Qt6 6.4 COMPONENTS Widgets DBus)
if(NOT Qt6_FOUND)
    message(STATUS "Qt 6 Widgets not found: building without the q905 window")
    return()
endif()

set(CMAKE_AUTOMOC ON)
file(GLOB Q905_GUI_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/*/ui/*.h
    ${CMAKE_SOURCE_DIR}/src/platform/qt/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/qt/*.h)
list(FILTER Q905_GUI_SOURCES EXCLUDE REGEX "/src/app/ui/main\\.cpp$")
# q905ctl's side of the session bus is a library of its own (see q905bus).
list(FILTER Q905_GUI_SOURCES EXCLUDE REGEX "/src/platform/qt/KeyboardBusClient\\.cpp$")

add_library(q905gui STATIC ${Q905_GUI_SOURCES})
target_link_libraries(q905gui PUBLIC q905cli Qt6::Widgets Qt6::DBus)
# The bus object introspects as the interface file kept with the package says.
file(READ ${CMAKE_SOURCE_DIR}/packaging/dbus/io.github.q905.Keyboard1.xml Q905_BUS_XML)
configure_file(${CMAKE_SOURCE_DIR}/src/app/ui/KeyboardBusInterface.h.in
               ${CMAKE_BINARY_DIR}/generated/app/ui/KeyboardBusInterface.h @ONLY)
target_include_directories(q905gui PRIVATE ${CMAKE_BINARY_DIR}/generated)
# A library the window uses when its development files are there: linked, with
# Q905_HAVE_<NAME> defined for the code that uses it.
function(q905_gui_optional_library name module)
    if(PkgConfig_FOUND)
        pkg_check_modules(${name} IMPORTED_TARGET ${module})
    endif()
    if(${name}_FOUND)
        target_link_libraries(q905gui PRIVATE PkgConfig::${name})
        target_compile_definitions(q905gui PRIVATE Q905_HAVE_${name}=1)
    endif()
endfunction()
# The font configuration is read ahead of the first frame.
q905_gui_optional_library(FONTCONFIG fontconfig)
# A later start's X11 startup id is handed to the window manager with the X connection Qt opened.
q905_gui_optional_library(XCB xcb)
# Skin pictures are decoded with libpng directly, also before the application object exists.
find_package(PNG REQUIRED)
target_link_libraries(q905gui PRIVATE PNG::PNG)
target_compile_options(q905gui PRIVATE ${Q905_WARNINGS})

if(EXISTS ${CMAKE_SOURCE_DIR}/src/app/ui/main.cpp)
    add_executable(q905 ${CMAKE_SOURCE_DIR}/src/app/ui/main.cpp)
    target_link_libraries(q905 PRIVATE q905gui)
    target_compile_options(q905 PRIVATE ${Q905_WARNINGS})
    install(TARGETS q905 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The skin pictures are drawn by a generator at build time, never committed.
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/skin/skin.cmake)
    include(${CMAKE_SOURCE_DIR}/tools/skin/skin.cmake)
endif()

# Painting speed: the cached composition against decoding every picture at every paint.
if(Q905_BUILD_BENCHMARKS AND EXISTS ${CMAKE_SOURCE_DIR}/bench/ui/PaintBench.cpp)
    find_package(Qt6 COMPONENTS Test REQUIRED)
    add_executable(q905_paint_bench ${CMAKE_SOURCE_DIR}/bench/ui/PaintBench.cpp)
    target_link_libraries(q905_paint_bench PRIVATE q905gui Qt6::Test)
    target_compile_options(q905_paint_bench PRIVATE ${Q905_WARNINGS})
    if(TARGET q905_skin)
        add_dependencies(q905_paint_bench q905_skin)
    endif()
endif()

# Start-up: the window against a bare Qt window of the same size, time to first frame and peak
# memory.
if(Q905_BUILD_BENCHMARKS AND EXISTS ${CMAKE_SOURCE_DIR}/bench/ui/StartupBench.cpp)
    # The baseline is a program of its own that links only Qt.
    add_executable(q905_bare_window ${CMAKE_SOURCE_DIR}/bench/ui/BareWindow.cpp)
    target_link_libraries(q905_bare_window PRIVATE Qt6::Widgets)
    target_compile_options(q905_bare_window PRIVATE ${Q905_WARNINGS})
    add_executable(q905_startup_bench ${CMAKE_SOURCE_DIR}/bench/ui/StartupBench.cpp)
    target_link_libraries(q905_startup_bench PRIVATE q905gui)
    target_compile_options(q905_startup_bench PRIVATE ${Q905_WARNINGS})
    target_compile_definitions(q905_startup_bench PRIVATE
        Q905_BARE_WINDOW_PATH="$<TARGET_FILE:q905_bare_window>")
    add_dependencies(q905_startup_bench q905_bare_window)
    if(TARGET q905_skin)
        add_dependencies(q905_startup_bench q905_skin)
    endif()
endif()
