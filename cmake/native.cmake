# Native build of the portable core: unit tests under sanitizers, benchmarks, tools.
if(VELLUMAR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
    target_compile_options(vellumar_core PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
endif()

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB_RECURSE UNIT_TEST_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp ${PROJECT_SOURCE_DIR}/tests/fakes/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE vellumar_core GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)

# Renders the program's artwork to image files, for review and for the docs.
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*.cpp)
foreach(tool_source IN LISTS TOOL_SOURCES)
    get_filename_component(tool_name ${tool_source} NAME_WE)
    add_executable(${tool_name} ${tool_source})
    target_link_libraries(${tool_name} PRIVATE vellumar_core)
endforeach()
# The icon's large entry is a PNG, compressed with zlib.
find_package(ZLIB REQUIRED)
target_link_libraries(make_icon PRIVATE ZLIB::ZLIB)

if(VELLUMAR_BENCHMARKS)
    find_package(benchmark REQUIRED)
    file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
    if(BENCH_SOURCES)
        add_executable(benchmarks ${BENCH_SOURCES})
        target_link_libraries(benchmarks PRIVATE vellumar_core benchmark::benchmark_main)
        target_include_directories(benchmarks PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    endif()
endif()

# Each layer includes only the layers below it.
add_test(NAME layering COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -P
                               ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
set_tests_properties(layering PROPERTIES LABELS native)
