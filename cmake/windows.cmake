# Windows build: vellumar.exe, integration tests and the end-to-end driver.
# Everything is linked statically so that no MinGW DLL has to sit beside it.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)
set(WIN32_LIBS gdi32 user32 kernel32 advapi32 shell32 uuid ntdll)
# Needed only once the window is up: the program loads them on first use
# (cmake/delay_imports.cmake); the tests link them as usual.
set(WIN32_LATE_LIBS ole32 oleaut32 wininet)

file(GLOB_RECURSE WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/win32/*.cpp)
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/app/win32/main\\.cpp$")
add_library(vellumar_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(vellumar_win32 PUBLIC vellumar_core ${WIN32_LIBS})

# Release code is optimised for size, each function in its own section so the
# linker drops what nothing calls; the code that runs once per pixel (the
# pictures, the button faces, the graph, the tray frames) stays optimised for
# speed, since it decides how soon the window first appears.
set(VELLUMAR_SIZE_OPTIONS $<$<CONFIG:Release>:-Os -ffunction-sections -fdata-sections>)
target_compile_options(vellumar_core PRIVATE ${VELLUMAR_SIZE_OPTIONS})
target_compile_options(vellumar_win32 PRIVATE ${VELLUMAR_SIZE_OPTIONS})
file(GLOB PER_PIXEL_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/app/artwork*.cpp
    ${PROJECT_SOURCE_DIR}/src/controls/button_painter.cpp
    ${PROJECT_SOURCE_DIR}/src/controls/software_raster.cpp
    ${PROJECT_SOURCE_DIR}/src/monitor/cpu_monitor.cpp
    ${PROJECT_SOURCE_DIR}/src/shell/tray_frames.cpp)
set_source_files_properties(${PER_PIXEL_SOURCES} TARGET_DIRECTORY vellumar_core
    PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-O2>)

# The program icon is drawn by the program's own artwork code: a small host
# tool renders it to an .ico file that the resource script embeds.
find_program(HOST_CXX NAMES g++ c++ REQUIRED)
file(GLOB ARTWORK_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/app/artwork*.cpp)
set(VELLUMAR_ICO ${CMAKE_BINARY_DIR}/generated/vellumar.ico)
add_custom_command(
    OUTPUT ${VELLUMAR_ICO}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR}/src
            ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp ${ARTWORK_SOURCES}
            -lz -o ${CMAKE_BINARY_DIR}/generated/make_icon
    COMMAND ${CMAKE_BINARY_DIR}/generated/make_icon ${VELLUMAR_ICO}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp ${ARTWORK_SOURCES}
            ${PROJECT_SOURCE_DIR}/src/app/artwork.h ${PROJECT_SOURCE_DIR}/src/controls/pixel_buffer.h
    COMMENT "Rendering the program icon"
    VERBATIM)

add_executable(vellumar WIN32 src/app/win32/main.cpp res/vellumar.rc)
include(cmake/delay_imports.cmake)
vellumar_delay_import_libraries(VELLUMAR_DELAY_LIBS ${WIN32_LATE_LIBS})
target_link_libraries(vellumar PRIVATE vellumar_win32 ${VELLUMAR_DELAY_LIBS})
add_dependencies(vellumar VELLUMAR_DELAY_LIBS_libraries)
target_link_options(vellumar PRIVATE -municode)
set_target_properties(vellumar PROPERTIES OUTPUT_NAME vellumar)
# A Release build carries no symbols: they are half the file.
target_link_options(vellumar PRIVATE $<$<CONFIG:Release>:-s -Wl,--gc-sections>)
# Sections on page boundaries in the file too, so the loader can map the
# image from the file instead of copying it into private memory (Wine copies
# an image whose sections are not page-aligned in the file).
target_link_options(vellumar PRIVATE -Wl,--file-alignment,4096)
configure_file(res/vellumar.manifest.in ${CMAKE_BINARY_DIR}/generated/vellumar.manifest @ONLY)
configure_file(res/common_controls.manifest.in ${CMAKE_BINARY_DIR}/generated/common_controls.manifest @ONLY)
target_include_directories(vellumar PRIVATE ${PROJECT_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(res/vellumar.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_BINARY_DIR}/generated/vellumar.manifest;${CMAKE_BINARY_DIR}/generated/common_controls.manifest;${VELLUMAR_ICO}")

# GoogleTest built from source with the cross compiler (Debian's googletest
# package); a native Windows build uses an installed GoogleTest instead.
set(VELLUMAR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build with this compiler")
if(EXISTS ${VELLUMAR_GTEST_SOURCE}/CMakeLists.txt)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VELLUMAR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
    add_library(gtest ALIAS GTest::gtest)
    add_library(gmock ALIAS GTest::gmock)
    add_library(gtest_main ALIAS GTest::gtest_main)
endif()

# Every GoogleTest case is a CTest entry of its own, listed when CTest starts
# (the list needs Wine, which only the test session has) and run through Wine
# in the build's prefix; CTest names each test that fails.
set(VELLUMAR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(WINE_TEST_ENV "WINEPREFIX=${VELLUMAR_WINEPREFIX}" "WINEDEBUG=-all")
# (A build on Windows runs them directly, with the same environment.)
if(CMAKE_CROSSCOMPILING)
    set(WINE_TEST_RUNNER bash ${PROJECT_SOURCE_DIR}/scripts/wine-test.sh)
else()
    set(WINE_TEST_RUNNER "")
endif()
include(GoogleTest)

file(GLOB_RECURSE WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(integration_tests ${WINE_TEST_SOURCES})
target_include_directories(integration_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(integration_tests PRIVATE vellumar_win32 ${WIN32_LATE_LIBS} comctl32 gtest
                                                gmock gtest_main)
set(INTEGRATION_LAUNCH ${CMAKE_COMMAND} -E env ${WINE_TEST_ENV} ${WINE_TEST_RUNNER})
set_target_properties(integration_tests PROPERTIES CROSSCOMPILING_EMULATOR "${INTEGRATION_LAUNCH}")
# They run two at a time, but for the process list's: its rows (and their
# icons) follow the processes that come and go, so it runs alone. The lock
# test's child runs only inside the test that starts it.
set(WINE_TEST_SKIPPED SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
gtest_discover_tests(integration_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    TEST_FILTER "-InstanceLockChild.*:ProcessListOnWindows.*"
    PROPERTIES LABELS integration TIMEOUT 300 ${WINE_TEST_SKIPPED})
gtest_discover_tests(integration_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    TEST_FILTER "ProcessListOnWindows.*"
    PROPERTIES LABELS integration TIMEOUT 600 RUN_SERIAL ON ${WINE_TEST_SKIPPED})

file(GLOB_RECURSE E2E_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES})
target_include_directories(e2e_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(e2e_tests PRIVATE gtest gmock gtest_main ${WIN32_LIBS} ${WIN32_LATE_LIBS}
                                        comctl32 psapi ws2_32)
add_dependencies(e2e_tests vellumar)
# The programs under test never reach the network: their web site is a closed
# loopback port unless a test serves one. They share the prefix's desktop,
# registry and foreground window, so the end-to-end tests run one at a time.
set(E2E_TEST_ENV ${WINE_TEST_ENV} "VELLUMAR_EXE=$<TARGET_FILE:vellumar>"
    "VELLUMAR_SITE_URL=http://127.0.0.1:9")
set(E2E_LAUNCH ${CMAKE_COMMAND} -E env ${E2E_TEST_ENV} ${WINE_TEST_RUNNER})
set_target_properties(e2e_tests PROPERTIES CROSSCOMPILING_EMULATOR "${E2E_LAUNCH}")
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    TEST_FILTER "-ReleaseEndToEnd.*"
    PROPERTIES LABELS end_to_end TIMEOUT 300 RUN_SERIAL ON ${WINE_TEST_SKIPPED})

if(VELLUMAR_BENCHMARKS)
    # Each Windows benchmark is a program of its own with its own main().
    file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/win32/*.cpp)
    foreach(bench_source IN LISTS WIN_BENCH_SOURCES)
        get_filename_component(bench_name ${bench_source} NAME_WE)
        add_executable(win_${bench_name} ${bench_source})
        target_link_libraries(win_${bench_name} PRIVATE vellumar_win32 ${WIN32_LATE_LIBS} comctl32)
    endforeach()
    # The empty program vellumar.exe is measured against, and the probe that
    # measures both from outside (scripts/bench.sh runs them).
    add_executable(floor_program WIN32 bench/floor/floor_program.cpp)
    target_link_options(floor_program PRIVATE -municode)
    target_link_libraries(floor_program PRIVATE shell32)
    add_executable(bench_probe bench/floor/bench_probe.cpp)
    target_link_options(bench_probe PRIVATE -municode)
    target_link_libraries(bench_probe PRIVATE user32)
endif()
include(cmake/release.cmake)
