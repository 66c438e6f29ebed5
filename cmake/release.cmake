# Release packages for Windows users, made from this build's vellumar.exe:
#   build/release/Vellumar-<version>-win64.zip        a folder with the stripped
#                                                     exe and README.txt
#   build/release/Vellumar-<version>-win64-setup.exe  the installer, built by
#                                                     makensis from packaging/windows
# scripts/release.sh builds the `release` target; the release tests build it
# first (when makensis is installed), and then install, upgrade and uninstall
# the packages. An ordinary build makes neither.
find_program(MAKENSIS makensis)
set(VELLUMAR_RELEASE_DIR ${PROJECT_SOURCE_DIR}/build/release CACHE PATH "Where the release packages go")
set(RELEASE_NAME Vellumar-${PROJECT_VERSION}-win64)
set(RELEASE_STAGE_ROOT ${CMAKE_BINARY_DIR}/release-stage)
set(RELEASE_STAGE ${RELEASE_STAGE_ROOT}/${RELEASE_NAME})
set(RELEASE_ZIP ${VELLUMAR_RELEASE_DIR}/${RELEASE_NAME}.zip)
set(RELEASE_SETUP ${VELLUMAR_RELEASE_DIR}/${RELEASE_NAME}-setup.exe)
set(WIZARD_BMP ${CMAKE_BINARY_DIR}/generated/wizard.bmp)

set(VERSION ${PROJECT_VERSION})
configure_file(packaging/windows/README.txt ${RELEASE_STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_command(
    OUTPUT ${RELEASE_STAGE}/vellumar.exe
    COMMAND ${CMAKE_STRIP} --strip-all -o ${RELEASE_STAGE}/vellumar.exe $<TARGET_FILE:vellumar>
    DEPENDS vellumar
    COMMENT "Stripping vellumar.exe for release"
    VERBATIM)

# Only the two files, whatever else a trial run left in the stage folder.
add_custom_command(
    OUTPUT ${RELEASE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELLUMAR_RELEASE_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${RELEASE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${RELEASE_ZIP} --format=zip
            ${RELEASE_NAME}/vellumar.exe ${RELEASE_NAME}/README.txt
    WORKING_DIRECTORY ${RELEASE_STAGE_ROOT}
    DEPENDS ${RELEASE_STAGE}/vellumar.exe ${RELEASE_STAGE}/README.txt
    COMMENT "Packing ${RELEASE_NAME}.zip"
    VERBATIM)
set(RELEASE_OUTPUTS ${RELEASE_ZIP})

if(MAKENSIS)
    # The picture beside the installer's first and last pages, drawn by the
    # program's artwork code like the icon.
    add_custom_command(
        OUTPUT ${WIZARD_BMP}
        COMMAND ${HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR}/src
                ${PROJECT_SOURCE_DIR}/tools/make_wizard_bitmap.cpp ${ARTWORK_SOURCES}
                -o ${CMAKE_BINARY_DIR}/generated/make_wizard_bitmap
        COMMAND ${CMAKE_BINARY_DIR}/generated/make_wizard_bitmap ${WIZARD_BMP}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_wizard_bitmap.cpp ${ARTWORK_SOURCES}
                ${PROJECT_SOURCE_DIR}/src/app/artwork.h
        COMMENT "Rendering the installer picture"
        VERBATIM)
    add_custom_command(
        OUTPUT ${RELEASE_SETUP}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELLUMAR_RELEASE_DIR}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${RELEASE_STAGE}
                -DICON=${VELLUMAR_ICO} -DWIZARD=${WIZARD_BMP} -DOUTFILE=${RELEASE_SETUP}
                ${PROJECT_SOURCE_DIR}/packaging/windows/vellumar.nsi
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/vellumar.nsi ${RELEASE_STAGE}/vellumar.exe
                ${RELEASE_STAGE}/README.txt ${VELLUMAR_ICO} ${WIZARD_BMP}
        COMMENT "Building ${RELEASE_NAME}-setup.exe"
        VERBATIM)
    list(APPEND RELEASE_OUTPUTS ${RELEASE_SETUP})
else()
    message(STATUS "makensis not found: the release target builds the zip only")
endif()
add_custom_target(release DEPENDS ${RELEASE_OUTPUTS})

if(MAKENSIS AND CMAKE_HOST_UNIX)
    # The packages end to end under Wine: a fixture unpacks the zip twice, once
    # into a folder made unwritable with the immutable attribute (Wine runs as
    # root here, for whom file modes do not stop writes), and undoes that after.
    set(RELEASE_TEST_DIR ${CMAKE_BINARY_DIR}/release-test)
    add_test(NAME release_build COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target release)
    add_test(NAME release_unpack
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/e2e/release_fixture.sh unpack ${RELEASE_TEST_DIR} ${RELEASE_ZIP})
    add_test(NAME release_unlock
             COMMAND sh ${PROJECT_SOURCE_DIR}/tests/e2e/release_fixture.sh unlock ${RELEASE_TEST_DIR})
    set_tests_properties(release_build PROPERTIES FIXTURES_SETUP release_packages LABELS release)
    set_tests_properties(release_unpack PROPERTIES FIXTURES_SETUP release_folders
                         FIXTURES_REQUIRED release_packages LABELS release)
    set_tests_properties(release_unlock PROPERTIES FIXTURES_CLEANUP release_folders LABELS release)
    # Shortcuts made by the installer must not reach this machine's menus.
    set(RELEASE_TEST_ENV ${WINE_TEST_ENV}
        "WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe="
        "VELLUMAR_SETUP=${RELEASE_SETUP}"
        "VELLUMAR_VERSION=${PROJECT_VERSION}"
        "VELLUMAR_PORTABLE=${RELEASE_TEST_DIR}/portable/${RELEASE_NAME}"
        "VELLUMAR_READONLY=${RELEASE_TEST_DIR}/readonly/${RELEASE_NAME}")
    # The end-to-end driver's release cases, told where the packages are: the
    # emulator is read when the tests are listed, so it is swapped for them.
    get_target_property(E2E_RUNNER e2e_tests CROSSCOMPILING_EMULATOR)
    set(RELEASE_LAUNCH ${CMAKE_COMMAND} -E env ${RELEASE_TEST_ENV} ${WINE_TEST_RUNNER})
    set_target_properties(e2e_tests PROPERTIES CROSSCOMPILING_EMULATOR "${RELEASE_LAUNCH}")
    gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        TEST_FILTER "ReleaseEndToEnd.*"
        PROPERTIES LABELS release TIMEOUT 600 RUN_SERIAL ON FIXTURES_REQUIRED release_folders)
    set_target_properties(e2e_tests PROPERTIES CROSSCOMPILING_EMULATOR "${E2E_RUNNER}")
endif()
