# Install rules in three components, one Debian package each:
#   client  zelclient, its data directory share/zel (the program directory of
#           an installed client), menu entry, icons, record type, metainfo
#   server  zelserver with its systemd unit, configuration and defaults
#   tools   the record tools, the GTP engine, the headless and bot clients
# zel_package_files builds everything these rules install.
include(GNUInstallDirs)

set(ZEL_APP_ID kr.zel.zelclient)
set(ZEL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zel)
set(ZEL_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(ZEL_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(ZEL_CLIENT_OUT ${PROJECT_BINARY_DIR}/src/client)

add_custom_target(zel_package_files)

# zel_install_program(<target> <component>): a program into bin, when it exists.
function(zel_install_program target component)
  if(TARGET ${target})
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
    add_dependencies(zel_package_files ${target})
  endif()
endfunction()

zel_install_program(zelclient client)
zel_install_program(zelserver server)
foreach(_tool zelprint zel2sgf sgf2zel zelcli zelgtp zelbot)
  zel_install_program(${_tool} tools)
endforeach()

# The client's data: fonts and code table, spoken countdown, help page and
# its pictures (the pictures come from the end-to-end run that takes them).
# The board pictures and the stone sound are compiled into the client.
install(FILES ${ZEL_CLIENT_OUT}/Convert.tbl ${ZEL_CLIENT_OUT}/ZelE00.FNT ${ZEL_CLIENT_OUT}/ZelH00.FNT
              ${ZEL_CLIENT_OUT}/ZelSBS.FNT ${ZEL_CLIENT_OUT}/ZelKSS.FNT ${ZEL_CLIENT_OUT}/help.html
        DESTINATION ${ZEL_DATA_DIR} COMPONENT client)
install(DIRECTORY ${ZEL_CLIENT_OUT}/help DESTINATION ${ZEL_DATA_DIR} COMPONENT client OPTIONAL
        FILES_MATCHING PATTERN "*.png")
add_dependencies(zel_package_files zelfonts zelhelp)
if(ZEL_VOICE_FILES)
  install(FILES ${ZEL_VOICE_FILES} DESTINATION ${ZEL_DATA_DIR}/voice COMPONENT client)
  add_dependencies(zel_package_files zelvoice)
endif()

# Menu entry, record type and metainfo.
install(FILES ${ZEL_PACKAGING}/${ZEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT client)
install(FILES ${ZEL_PACKAGING}/${ZEL_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages COMPONENT client)
install(FILES ${ZEL_PACKAGING}/${ZEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT client)

# The icon, drawn at build time in every size of the hicolor theme.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(zel_icongen ${ZEL_PACKAGING}/icongen/icongen.cpp)
target_link_libraries(zel_icongen PRIVATE Qt6::Gui)
zel_warnings(zel_icongen)
set(_icons ${ZEL_PACKAGING_OUT}/icons)
set(_icon_stamp ${_icons}/.drawn)
add_custom_command(OUTPUT ${_icon_stamp}
                   COMMAND zel_icongen ${_icons} ${ZEL_APP_ID}
                   COMMAND ${CMAKE_COMMAND} -E touch ${_icon_stamp}
                   DEPENDS zel_icongen
                   COMMENT "Drawing the program icon"
                   VERBATIM)
add_custom_target(zel_icons ALL DEPENDS ${_icon_stamp})
add_dependencies(zel_package_files zel_icons)
install(DIRECTORY ${_icons}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor COMPONENT client
        FILES_MATCHING PATTERN "*.png")

# Manual pages and each package's changelog, compressed as Debian wants them.
find_program(ZEL_GZIP gzip REQUIRED)
set(_gz_files "")
# zel_gzip(<source> <output>): <output> is <source> compressed reproducibly.
function(zel_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEL_PACKAGING_OUT}/gz
                     COMMAND sh -c "\"$0\" -9n -c \"$1\" > \"$2\"" ${ZEL_GZIP} ${source} ${output}
                     DEPENDS ${source}
                     VERBATIM)
  set(_gz_files ${_gz_files} ${output} PARENT_SCOPE)
endfunction()

set(_manuals zelclient.6:client zelserver.8:server zelprint.1:tools zel2sgf.1:tools sgf2zel.1:tools
             zelcli.1:tools zelgtp.1:tools)
if(TARGET zelbot)
  list(APPEND _manuals zelbot.6:tools)
endif()
foreach(_entry ${_manuals})
  string(REPLACE ":" ";" _parts ${_entry})
  list(GET _parts 0 _page)
  list(GET _parts 1 _component)
  string(REGEX REPLACE ".*\\." "" _section ${_page})
  set(_out ${ZEL_PACKAGING_OUT}/gz/${_page}.gz)
  zel_gzip(${ZEL_PACKAGING}/man/${_page} ${_out})
  install(FILES ${_out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${_section} COMPONENT ${_component})
endforeach()

set(_changelog ${ZEL_PACKAGING_OUT}/gz/changelog.gz)
zel_gzip(${ZEL_PACKAGING}/changelog ${_changelog})
add_custom_target(zel_compressed ALL DEPENDS ${_gz_files})
add_dependencies(zel_package_files zel_compressed)
foreach(_component client server tools)
  install(FILES ${ZEL_PACKAGING}/copyright ${_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zel-${_component}
          COMPONENT ${_component})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zel-client COMPONENT client)

# The server as a system service. Absolute destinations: the unit goes where
# systemd looks for packaged units, the two configuration files into /etc.
install(FILES ${ZEL_PACKAGING}/server/zel-server.service DESTINATION /lib/systemd/system COMPONENT server)
install(FILES ${ZEL_PACKAGING}/server/zelserver.conf DESTINATION /etc/zel COMPONENT server)
install(FILES ${ZEL_PACKAGING}/server/zel-server.default DESTINATION /etc/default RENAME zel-server
        COMPONENT server)
