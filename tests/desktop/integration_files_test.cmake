# The desktop integration files as the desktop's tools read them: the
# .desktop file passes desktop-file-validate, the metainfo passes
# appstreamcli validate (offline), both name the program by the id their
# file names carry, the newest release is the project's version and the
# PNG icons are what tools/icon_pngs.py draws from the SVG. A validator that
# is not installed is skipped, and the test is skipped when neither is.
# Run with -DDATA_DIR=... -DID=... -DVERSION=... -DTOOLS_DIR=...
# and optionally -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=... -DPYTHON=...
set(desktop_file ${DATA_DIR}/${ID}.desktop)
set(metainfo ${DATA_DIR}/${ID}.metainfo.xml)

function(validate what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err TIMEOUT 120)
    if(NOT status EQUAL 0)
        message(SEND_ERROR "${what} failed (${status}):\n${out}${err}")
    else()
        message(STATUS "${what} passed")
    endif()
endfunction()

set(validated 0)
if(DESKTOP_FILE_VALIDATE)
    validate("desktop-file-validate ${ID}.desktop" ${DESKTOP_FILE_VALIDATE} ${desktop_file})
    math(EXPR validated "${validated} + 1")
else()
    message(STATUS "desktop-file-validate is not installed: the .desktop file is not validated")
endif()
if(APPSTREAMCLI)
    validate("appstreamcli validate ${ID}.metainfo.xml" ${APPSTREAMCLI} validate --no-net ${metainfo})
    math(EXPR validated "${validated} + 1")
else()
    message(STATUS "appstreamcli is not installed: the metainfo is not validated")
endif()

# What the validators do not compare: the names and the version.
file(READ ${desktop_file} entry)
if(NOT entry MATCHES "\nIcon=${ID}\n")
    message(SEND_ERROR "${ID}.desktop does not name the icon ${ID}")
endif()
if(NOT entry MATCHES "\nExec=TesselFilterPack %F\n")
    message(SEND_ERROR "${ID}.desktop does not start TesselFilterPack with the files")
endif()
file(READ ${metainfo} component)
if(NOT component MATCHES "<id>${ID}</id>")
    message(SEND_ERROR "${ID}.metainfo.xml does not carry the id ${ID}")
endif()
if(NOT component MATCHES "<launchable type=\"desktop-id\">${ID}.desktop</launchable>")
    message(SEND_ERROR "${ID}.metainfo.xml does not launch ${ID}.desktop")
endif()
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${component}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(SEND_ERROR "the newest release of ${ID}.metainfo.xml is [${CMAKE_MATCH_1}], "
        "the project's version ${VERSION}")
endif()

if(PYTHON)
    validate("tools/icon_pngs.py --check" ${PYTHON} ${TOOLS_DIR}/icon_pngs.py --check
        ${DATA_DIR}/icons/${ID}.svg ${DATA_DIR}/icons)
else()
    message(STATUS "python3 is not installed: the PNG icons are not compared with the SVG")
endif()

if(validated EQUAL 0)
    # ctest takes this line for a skip (SKIP_REGULAR_EXPRESSION).
    message(STATUS "SKIP: neither desktop-file-validate nor appstreamcli is installed")
endif()
