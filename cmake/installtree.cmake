# The installed tree. The programs keep the folder they share in the build: vsolo finds vsreport
# and tips.txt in its own folder, and vsolo-cli finds vsolo-cli-pdf in its own, each through the
# resolved path of the running executable. That folder is a private one under libexec; the
# commands in bin are relative links to it, so the tree can be moved to another prefix whole.
include(GNUInstallDirs)

set(VSOLO_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_LIBEXECDIR}/veltimo-solo
  CACHE STRING "The programs' own folder, relative to the prefix")
set(vsolo_programs vsolo vsreport vsolo-cli vsolo-cli-pdf)
set(vsolo_commands vsolo vsreport vsolo-cli)

# Both folders relative to the prefix, so the link and the run path hold under any prefix.
file(RELATIVE_PATH vsolo_to_libdir /prefix/${VSOLO_INSTALL_PROGRAMDIR}
  /prefix/${CMAKE_INSTALL_LIBDIR})
file(RELATIVE_PATH vsolo_to_programdir /prefix/${CMAKE_INSTALL_BINDIR}
  /prefix/${VSOLO_INSTALL_PROGRAMDIR})
set_target_properties(${vsolo_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${vsolo_to_libdir}")

install(TARGETS ${vsolo_programs} RUNTIME DESTINATION ${VSOLO_INSTALL_PROGRAMDIR})
install(FILES tracker/tips.txt DESTINATION ${VSOLO_INSTALL_PROGRAMDIR})
# The mail bridge is installed in two components (and Debian packages): the library for the
# programs that run with it, the header and the unversioned link for building against it.
install(TARGETS osxmapi LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  COMPONENT library NAMELINK_COMPONENT development)
install(FILES mailbridge/osxmapi.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

set(vsolo_links ${PROJECT_BINARY_DIR}/installlinks)
file(MAKE_DIRECTORY ${vsolo_links})
foreach(command IN LISTS vsolo_commands)
  file(CREATE_LINK ${vsolo_to_programdir}/${command} ${vsolo_links}/${command} SYMBOLIC)
  install(FILES ${vsolo_links}/${command} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
