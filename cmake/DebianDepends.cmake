# Read by cpack for every package it makes: the .deb's Depends line.
# dpkg-shlibdeps names the libraries the game links, with the versions it
# needs. Its SDL 1.2 entry is widened to the classic library or sdl12-compat:
# the launcher finds sdl12-compat in its own folder, so either one will do.
# RAMPARTICA_DEB_GAME is the game binary, set by the file that includes this.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(RAMPARTICA_SHLIBDEPS dpkg-shlibdeps)
if(NOT RAMPARTICA_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps was not found: install dpkg-dev to make the .deb")
endif()
# dpkg-shlibdeps wants to run in a source package: a minimal one will do.
set(work ${CPACK_PACKAGE_DIRECTORY}/_shlibdeps)
file(WRITE ${work}/debian/control "Source: rampartica\n\nPackage: rampartica\nArchitecture: any\n")
execute_process(COMMAND ${RAMPARTICA_SHLIBDEPS} -O ${RAMPARTICA_DEB_GAME}
                WORKING_DIRECTORY ${work} RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE log)
string(REGEX REPLACE "^shlibs:Depends=([^\n]*).*" "\\1" depends "${found}")
string(REGEX REPLACE "(libsdl1\\.2debian( \\([^)]*\\))?)" "\\1 | libsdl1.2-compat" depends "${depends}")
if(NOT status EQUAL 0 OR NOT depends MATCHES "libsdl1\\.2debian.* \\| libsdl1\\.2-compat")
  message(FATAL_ERROR "dpkg-shlibdeps on ${RAMPARTICA_DEB_GAME} gave no SDL 1.2 dependency:\n${found}${log}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
