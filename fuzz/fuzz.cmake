# SPDX-License-Identifier: GPL-3.0-or-later
# libFuzzer targets for every parser of bytes from outside. Configure a separate build with
# clang and -DQ905_FUZZ=ON (scripts/fuzz does); the whole core is then built with coverage
# and address/undefined-behaviour checks.

set(Q905_FUZZ_TARGETS
    FuzzHostFiles FuzzMacroFile FuzzVersionFile FuzzSysfs FuzzNotifications FuzzEmulatedMemory
    FuzzArguments)
foreach(target ${Q905_FUZZ_TARGETS})
    set(sources ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
    if(target STREQUAL "FuzzArguments")
        list(APPEND sources ${CMAKE_SOURCE_DIR}/src/cli/KeyArguments.cpp)
    endif()
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE q905app)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()
