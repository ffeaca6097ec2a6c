# Installs the libraries, their headers, the command and the files other
# builds find them by: a CMake package (kelsoft::kelsoft, which brings
# kelsoft::tarvex along) and pkg-config files. Every installed path is
# relative to the prefix, so the tree may be installed anywhere, a cross
# sysroot's /usr included.
include(CMakePackageConfigHelpers)

set(KEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kelsoft)
set(KEL_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set_target_properties(tarvex PROPERTIES EXPORT_NAME tarvex)
# The installed files find the libraries relative to themselves, wherever the
# tree lies: libkelsoft finds libtarvex beside it, the command ../lib.
set_target_properties(kelsoft PROPERTIES INSTALL_RPATH "$ORIGIN")
if(TARGET kelsoft-tool)
  file(RELATIVE_PATH KEL_BIN_TO_LIB /root/${CMAKE_INSTALL_BINDIR} /root/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(kelsoft-tool PROPERTIES INSTALL_RPATH "$ORIGIN/${KEL_BIN_TO_LIB}")
endif()
# Components: "runtime" (the shared libraries), "dev" (all a program needs to
# build against them) and, from the command's folder, "command".
install(TARGETS kelsoft tarvex EXPORT kelsoftTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(TARGET kelsoft_archive)
  install(TARGETS kelsoft_archive tarvex_archive ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
endif()
install(FILES
  ${PROJECT_SOURCE_DIR}/include/kelsoft.h
  ${PROJECT_SOURCE_DIR}/include/kelsoft.hpp
  ${PROJECT_SOURCE_DIR}/platform/tarvex/include/tarvex.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)

# The reference pages, man 3 NAME for every name of kelsoft.h and the overview
# man 3 libkelsoft, made from its comments by the extractor `kelsoft help` uses.
set(KEL_MAN3_DIR ${PROJECT_BINARY_DIR}/man3)
add_custom_command(OUTPUT ${KEL_MAN3_DIR}.stamp
  COMMAND ${CMAKE_COMMAND} -DHEADER=${PROJECT_SOURCE_DIR}/include/kelsoft.h -DMAN3=${KEL_MAN3_DIR}
    -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/tools/kelsoft/contracts.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${KEL_MAN3_DIR}.stamp
  DEPENDS include/kelsoft.h tools/kelsoft/contracts.cmake cmake/man3.cmake
  COMMENT "Reference pages of kelsoft.h")
add_custom_target(kelsoft-man3 ALL DEPENDS ${KEL_MAN3_DIR}.stamp)
install(DIRECTORY ${KEL_MAN3_DIR}/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT dev)

# The target's toolchain file, for programs built against a sysroot that
# holds the library (the powerpc packages unpacked, say).
install(FILES ${PROJECT_SOURCE_DIR}/cmake/powerpc-linux-gnu.cmake ${PROJECT_SOURCE_DIR}/cmake/linux-gnu-cross.cmake
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kelsoft/cmake COMPONENT dev)

install(EXPORT kelsoftTargets NAMESPACE kelsoft:: DESTINATION ${KEL_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(cmake/kelsoftConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kelsoftConfig.cmake INSTALL_DESTINATION ${KEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kelsoftConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kelsoftConfig.cmake ${PROJECT_BINARY_DIR}/kelsoftConfigVersion.cmake
  DESTINATION ${KEL_CMAKE_DIR} COMPONENT dev)

# The .pc files locate the prefix from their own folder, as the CMake package
# does, except under /usr (the Debian packages): there they name it plainly,
# so that pkg-config knows /usr/include and the multiarch folder for system
# folders and leaves them out of the flags it prints.
file(RELATIVE_PATH KEL_PC_PREFIX /root/${KEL_PKGCONFIG_DIR} /root)
string(REGEX REPLACE "/$" "" KEL_PC_PREFIX "\${pcfiledir}/${KEL_PC_PREFIX}")
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(KEL_PC_PREFIX /usr)
endif()
foreach(pc kelsoft tarvex)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${KEL_PKGCONFIG_DIR} COMPONENT dev)
endforeach()
