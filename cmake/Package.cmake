# Debian packages zel-client, zel-server and zel-tools from the install
# components (scripts/package runs cpack in the build directory).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zel)
set(CPACK_PACKAGE_VENDOR "Zel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/cpack)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL client server tools)
# cpack installs what is built; scripts/package builds zel_package_files first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zel developers <zel@zel.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME zel-client)
# The faces the client asks for by name; the Qt libraries come from dpkg-shlibdeps.
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS "fonts-nanum, fonts-nanum-coding, fonts-liberation")
set(CPACK_DEBIAN_CLIENT_PACKAGE_RECOMMENDS "gnugo")
set(CPACK_DEBIAN_CLIENT_DESCRIPTION
    "online Go (baduk) client for Korean-speaking players
Zel connects to a Go game server: chat in the waiting room and in rooms, ask
other players for a game and play it with clocks, count it together, watch
running games and review them. Game records are replayed with commentaries
and variations, estimated with the built-in position analysis and printed.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME zel-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_SERVER_DESCRIPTION
    "Go game server and configuration server for Zel clients
zelserver is the game server Zel clients log in to and the configuration
server that hands them the server list and the banners. The package runs it
as the system service zel-server under its own user, configured in
/etc/zel/zelserver.conf.")
set(_server ${PROJECT_SOURCE_DIR}/packaging/server)
set(_conffiles ${PROJECT_BINARY_DIR}/packaging/conffiles)
file(WRITE ${_conffiles} "/etc/zel/zelserver.conf\n/etc/default/zel-server\n")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA ${_server}/postinst ${_server}/prerm ${_server}/postrm ${_conffiles})

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zel-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "fonts-nanum, fonts-liberation")
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS "gnugo")
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
    "Zel game record tools, GTP engine and headless clients
zel2sgf and sgf2zel convert game records to and from SGF, zelprint prints a
record to PDF, zelgtp offers the rules and the position analysis as a GTP
engine, and zelcli is a scriptable lobby client for tests and load tests.")
if(TARGET zelbot)
  string(APPEND CPACK_DEBIAN_TOOLS_DESCRIPTION "
zelbot is a computer opponent that waits on a game server and plays the
games it is asked for with a GTP engine such as GNU Go.")
endif()

include(CPack)
