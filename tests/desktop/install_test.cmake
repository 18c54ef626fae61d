# `cmake --install` of the desktop integration component into an empty
# prefix puts the .desktop file, the metainfo and every icon where the
# desktop looks for them, and nothing of them elsewhere.
# Run with -DBUILD_DIR=... -DPREFIX=... -DID=...
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component desktop_integration
    --prefix ${PREFIX} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${out}${err}")
endif()

set(expected share/applications/${ID}.desktop share/metainfo/${ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${ID}.svg)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${ID}.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# Each PNG is the size its folder says (the width and height of its header).
foreach(size 16 32 48 64 128 256)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${ID}.png)
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 16 dimensions)
    string(SUBSTRING "${dimensions}" 0 8 width_hex)
    string(SUBSTRING "${dimensions}" 8 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT header MATCHES "^89504e47" OR NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${png} is not a ${size}x${size} PNG (${header})")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
