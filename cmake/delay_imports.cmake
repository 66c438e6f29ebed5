# Delay-loaded imports: a DLL the program needs only after its window is up
# (the web fetch, COM's allocator, the accessibility strings) is loaded by
# the first call into it instead of at start, together with the DLLs it
# pulls in. vellumar_delay_import_libraries(<out> <dll>...) makes, for each
# DLL, an import library whose calls load it on first use, from the
# functions the toolchain's ordinary import library lists.
find_program(VELLUMAR_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool dlltool)
find_program(VELLUMAR_NM NAMES ${TOOLCHAIN_PREFIX}-nm nm)

function(vellumar_delay_import_libraries out)
    set(libraries)
    foreach(dll IN LISTS ARGN)
        find_library(VELLUMAR_IMPORT_${dll} NAMES ${dll} REQUIRED)
        execute_process(COMMAND ${VELLUMAR_NM} ${VELLUMAR_IMPORT_${dll}}
                        OUTPUT_VARIABLE symbols ERROR_QUIET)
        string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" imports "${symbols}")
        list(REMOVE_DUPLICATES imports)
        set(def ${CMAKE_BINARY_DIR}/generated/${dll}_delay.def)
        set(lib ${CMAKE_BINARY_DIR}/generated/lib${dll}_delay.a)
        set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
        foreach(import IN LISTS imports)
            string(REGEX REPLACE "^__imp_" "" name "${import}")
            string(APPEND text "    ${name}\n")
        endforeach()
        file(WRITE ${def} "${text}")
        add_custom_command(
            OUTPUT ${lib}
            COMMAND ${VELLUMAR_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
            DEPENDS ${def}
            COMMENT "Delay-load import library for ${dll}.dll"
            VERBATIM)
        list(APPEND libraries ${lib})
    endforeach()
    add_custom_target(${out}_libraries DEPENDS ${libraries})
    set(${out} ${libraries} PARENT_SCOPE)
endfunction()
