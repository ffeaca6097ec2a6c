# Debian packages: `cpack -G DEB` in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (so that the libraries go to the multiarch folder)
# and KEL_INSTALL_ARCHIVES=ON (so that the development package carries the
# static archives too) makes
#   libkelsoft<major>  the two shared libraries
#   libkelsoft-dev     headers, .so links, static archives, CMake package, .pc files
#   kelsoft            the command
# for the architecture the compiler builds for.
set(KEL_DEB_RUNTIME libkelsoft${PROJECT_VERSION_MAJOR})
set(KEL_DEB_DEV libkelsoft-dev)
set(KEL_DEB_COMMAND kelsoft)

set(CPACK_PACKAGE_NAME kelsoft)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "libkelsoft developers <kelsoft@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
if(TARGET kelsoft-tool)
  list(APPEND CPACK_COMPONENTS_ALL command)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Any later 1.x release serves a program built against this one.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# Stripped as dh_strip would (cmake's own strip leaves archives and the
# .comment sections), finished as the DEB generator cannot be told to.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/strip.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/finish.cmake)
set(CPACK_KEL_STRIP ${CMAKE_STRIP})
set(CPACK_KEL_MULTIARCH_SAME ${KEL_DEB_RUNTIME} ${KEL_DEB_DEV})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/libkelsoft")
# dpkg's name for the architecture of the compiler's multiarch triplet. A
# cross build hands it to dpkg-shlibdeps too, which then reads the cross
# toolchain's libraries.
if(CMAKE_LIBRARY_ARCHITECTURE)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  set(kel_cpack_env "set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})\n")
  if(CMAKE_CROSSCOMPILING)
    string(APPEND kel_cpack_env "set(SHLIBDEPS_EXECUTABLE ${PROJECT_SOURCE_DIR}/cmake/debian/shlibdeps-cross.sh)\n")
  endif()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/KelCPackEnv.cmake CONTENT "${kel_cpack_env}")
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/KelCPackEnv.cmake)
endif()

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${KEL_DEB_RUNTIME})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# The symbols file: every exported name, with the release that brought it
# (all 1.0.0 so far; a name added later must carry its release here).
set(kel_symbols "")
foreach(lib kelsoft tarvex)
  get_target_property(exports ${lib} KEL_EXPORTS_FILE)
  file(STRINGS ${exports} names)
  string(APPEND kel_symbols "lib${lib}.so.${PROJECT_VERSION_MAJOR} ${KEL_DEB_RUNTIME} #MINVER#\n"
    "* Build-Depends-Package: ${KEL_DEB_DEV}\n")
  foreach(name IN LISTS names)
    string(APPEND kel_symbols " ${name}@Base 1.0.0\n")
  endforeach()
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/deb-control/symbols CONTENT "${kel_symbols}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/cmake/debian/triggers ${PROJECT_BINARY_DIR}/deb-control/symbols)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "floating-point services with a fault hook
libkelsoft gives checked float and double arithmetic that reports NaN and
infinite results to one registered fault hook, elementary functions, a
decimal parser that gives the same bits on every host, formatting and
conversions. This package holds the shared libraries libkelsoft and
libtarvex, the bounds-checked string library it links.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${KEL_DEB_DEV})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${KEL_DEB_RUNTIME} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEV_DESCRIPTION "floating-point services with a fault hook (development files)
The headers, the static archives and the files other builds find the
library by: a CMake package (kelsoft::kelsoft) and pkg-config files.")
set(CPACK_DEBIAN_COMMAND_PACKAGE_NAME ${KEL_DEB_COMMAND})
set(CPACK_DEBIAN_COMMAND_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_COMMAND_PACKAGE_DEPENDS "${KEL_DEB_RUNTIME} (= ${PROJECT_VERSION})")
# dpkg-shlibdeps finds the libraries the command needs in the runtime package's staging folder.
# A cross build's C and C++ libraries lie in the cross toolchain's own folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${PROJECT_BINARY_DIR}/_CPack_Packages/Linux/DEB/kelsoft-${PROJECT_VERSION}-Linux/runtime/usr/${CMAKE_INSTALL_LIBDIR})
if(CMAKE_CROSSCOMPILING)
  list(TRANSFORM CMAKE_FIND_ROOT_PATH APPEND /lib OUTPUT_VARIABLE kel_cross_lib_dirs)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${kel_cross_lib_dirs})
endif()
set(CPACK_COMPONENT_COMMAND_DESCRIPTION "run the functions of libkelsoft from the command line
kelsoft parses, converts, computes and formats values with libkelsoft and
prints the results with their bits.")

# Every package carries its copyright file and changelog where Debian wants them.
set(KEL_DEB_DOC ${PROJECT_BINARY_DIR}/deb-doc)
file(MAKE_DIRECTORY ${KEL_DEB_DOC})
execute_process(COMMAND gzip -9n INPUT_FILE ${PROJECT_SOURCE_DIR}/cmake/debian/changelog
  OUTPUT_FILE ${KEL_DEB_DOC}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(component runtime dev command)
  string(TOUPPER ${component} name)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${KEL_DEB_DOC}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${KEL_DEB_${name}} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
include(CPack)
