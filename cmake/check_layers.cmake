# Checks that every source file includes only what its layer may use:
#   platform  <  controls  <  engine, monitor, shell  <  app
# A layer includes its own headers and those of the layers below it; engine,
# monitor and shell do not include each other. Portable code (outside any
# win32/ folder) includes no Windows header and no win32/ header.
# Run as: cmake -DSOURCE_DIR=<repository>/src -P check_layers.cmake
set(rank_platform 0)
set(rank_controls 1)
set(rank_engine 2)
set(rank_monitor 2)
set(rank_shell 2)
set(rank_app 3)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(findings "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[a-z]+" layer "${source}")
    if(NOT DEFINED rank_${layer})
        continue()
    endif()
    string(FIND "${source}" "/win32/" win32_at)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include [<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include [<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
        if(win32_at EQUAL -1 AND (header MATCHES "/win32/" OR header MATCHES "^(windows|winuser|wininet|commctrl|shellapi|tlhelp32|psapi|winternl)\\.h$"))
            list(APPEND findings "${source}: portable code includes ${header}")
        endif()
        string(REGEX MATCH "^[a-z]+" used "${header}")
        if(NOT header MATCHES "/" OR NOT DEFINED rank_${used} OR used STREQUAL layer)
            continue()
        endif()
        if(NOT rank_${used} LESS rank_${layer})
            list(APPEND findings "${source}: the ${layer} layer includes ${header}")
        endif()
    endforeach()
endforeach()

if(findings)
    list(JOIN findings "\n  " report)
    message(FATAL_ERROR "Includes against the layering:\n  ${report}")
endif()
list(LENGTH sources count)
message(STATUS "${count} source files keep to the layering")
