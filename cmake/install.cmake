# What `cmake --install` puts where (and so what the packages of debian/ hold):
# the public header, the versioned library, the tool with its manual page
# and bash completion, the desktop program and its batch selection library
# when they are built, the documentation, a pkg-config file and a CMake package
# (find_package(TesselCat) gives TesselCat::TESSEL_CAT).
include(CMakePackageConfigHelpers)

set(TESSEL_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TesselCat)

install(TARGETS TESSEL_CAT EXPORT TesselCatTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT TesselCatTargets
    NAMESPACE TesselCat::
    FILE TesselCatTargets.cmake
    DESTINATION ${TESSEL_CMAKE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TesselCatConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/TesselCatConfig.cmake
    INSTALL_DESTINATION ${TESSEL_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TesselCatConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TesselCatConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/TesselCatConfigVersion.cmake
    DESTINATION ${TESSEL_CMAKE_PACKAGE_DIR})

# The pkg-config file names the prefix relative to itself, so the one file is
# right for `cmake --install --prefix` anywhere; a package for /usr names
# /usr, so that pkg-config gives plain system folders.
if(TESSEL_RELOCATABLE)
    file(RELATIVE_PATH TESSEL_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
    string(REGEX REPLACE "/$" "" TESSEL_PC_TO_PREFIX "${TESSEL_PC_TO_PREFIX}")
    set(TESSEL_PC_PREFIX "\${pcfiledir}/${TESSEL_PC_TO_PREFIX}")
else()
    set(TESSEL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/tessel-cat.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tessel-cat.pc
    @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tessel-cat.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Programs find the library relative to themselves, so an installed tree can
# be moved (the desktop program finds its batch selection library the same
# way, by a path compiled in: app/desktop/multisel_loader.cpp). Without
# TESSEL_RELOCATABLE they carry no run path: the system finds the library.
foreach(program tessel TesselFilterPack)
    if(TARGET ${program})
        if(TESSEL_RELOCATABLE)
            set_target_properties(${program} PROPERTIES
                INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
        endif()
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
# The shipped HTML tag file: beside each program in the build tree (copied
# whenever it changed before the program is built), in the data folder of an
# installed tree.
foreach(program tessel TesselFilterPack)
    if(TARGET ${program})
        add_custom_target(${program}_shipped_tag_file
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TESSEL_SHIPPED_TAG_FILE}
                $<TARGET_FILE_DIR:${program}>
            VERBATIM)
        add_dependencies(${program} ${program}_shipped_tag_file)
    endif()
endforeach()
install(FILES ${TESSEL_SHIPPED_TAG_FILE}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/${TESSEL_DATA_FOLDER_NAME})
if(TARGET Multisel)
    install(TARGETS Multisel LIBRARY DESTINATION ${TESSEL_INSTALL_PRIVATE_LIBDIR})
endif()

# The desktop program's place in the desktop's menus: its .desktop file, its
# icon (the SVG and the PNG sizes drawn from it by tools/icon_pngs.py) and its
# AppStream metainfo, all named by the program's id (TESSEL_DESKTOP_ID). A component of their own,
# so `cmake --install --component desktop_integration` puts just them in place.
if(TARGET TesselFilterPack)
    set(TESSEL_DESKTOP_DATA ${PROJECT_SOURCE_DIR}/app/desktop/data)
    install(FILES ${TESSEL_DESKTOP_DATA}/${TESSEL_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop_integration)
    install(FILES ${TESSEL_DESKTOP_DATA}/${TESSEL_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop_integration)
    install(FILES ${TESSEL_DESKTOP_DATA}/icons/${TESSEL_DESKTOP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT desktop_integration)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${TESSEL_DESKTOP_DATA}/icons/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TESSEL_DESKTOP_ID}.png COMPONENT desktop_integration)
    endforeach()
endif()

# The manual page is the tool's own help, so the two never disagree. A
# cross-compiled tool does not run on the build machine, and Windows has no
# manual pages.
# TESSEL_MAN_PAGE is set in the top-level CMakeLists.txt, before the tests
# that read the page.
if(TARGET tessel AND TESSEL_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
    # A section per command from the commands' own help, then the exit
    # statuses, the environment and examples.
    set(TESSEL_MAN_COMMANDS ${CMAKE_CURRENT_BINARY_DIR}/tessel-commands.h2m)
    set(TESSEL_MAN_SECTIONS ${PROJECT_SOURCE_DIR}/cli/man/tessel.h2m)
    add_custom_command(OUTPUT ${TESSEL_MAN_PAGE}
        COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:tessel> -DOUTPUT=${TESSEL_MAN_COMMANDS}
            -P ${PROJECT_SOURCE_DIR}/tools/man_commands.cmake
        COMMAND ${TESSEL_HELP2MAN} --no-info --section=1
            "--name=convert tagged documents to protected RTF for translation, and back"
            --include=${TESSEL_MAN_COMMANDS} --include=${TESSEL_MAN_SECTIONS}
            --output=${TESSEL_MAN_PAGE}.tmp $<TARGET_FILE:tessel>
        COMMAND ${CMAKE_COMMAND} -E rename ${TESSEL_MAN_PAGE}.tmp ${TESSEL_MAN_PAGE}
        DEPENDS tessel ${TESSEL_MAN_SECTIONS} ${PROJECT_SOURCE_DIR}/tools/man_commands.cmake
        COMMENT "Writing the manual page tessel.1 from the tool's help")
    add_custom_target(tessel_man_page ALL DEPENDS ${TESSEL_MAN_PAGE})
    install(FILES ${TESSEL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(TARGET tessel)
    message(STATUS "help2man not found: the manual page tessel.1 is not built")
endif()

# The desktop program's manual page, from its --help and --version (which it
# answers before Qt starts, so no display is needed).
if(TARGET TesselFilterPack AND TESSEL_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
    set(TESSEL_DESKTOP_MAN_PAGE ${PROJECT_BINARY_DIR}/TesselFilterPack.1)
    add_custom_command(OUTPUT ${TESSEL_DESKTOP_MAN_PAGE}
        COMMAND ${TESSEL_HELP2MAN} --no-info --section=1
            "--name=desktop program: convert tagged documents to protected RTF and back, read the logs"
            --output=${TESSEL_DESKTOP_MAN_PAGE}.tmp $<TARGET_FILE:TesselFilterPack>
        COMMAND ${CMAKE_COMMAND} -E rename ${TESSEL_DESKTOP_MAN_PAGE}.tmp ${TESSEL_DESKTOP_MAN_PAGE}
        DEPENDS TesselFilterPack
        COMMENT "Writing the manual page TesselFilterPack.1 from the desktop program's help")
    add_custom_target(desktop_man_page ALL DEPENDS ${TESSEL_DESKTOP_MAN_PAGE})
    install(FILES ${TESSEL_DESKTOP_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The bash completion, where bash-completion looks for a command's script.
if(TARGET tessel AND NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/tessel.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tessel)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
