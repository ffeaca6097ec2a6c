# Installs the libraries, their headers, the command and the files other
# builds find them by: a CMake package (kelsoft::kelsoft, which brings
# kelsoft::tarvex along) and pkg-config files. Every installed path is
# relative to the prefix, so the tree may be installed anywhere, a cross
# sysroot's /usr included.
include(CMakePackageConfigHelpers)

set(KEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kelsoft)
set(KEL_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set_target_properties(tarvex PROPERTIES EXPORT_NAME tarvex)
install(TARGETS kelsoft tarvex EXPORT kelsoftTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES
  ${PROJECT_SOURCE_DIR}/include/kelsoft.h
  ${PROJECT_SOURCE_DIR}/include/kelsoft.hpp
  ${PROJECT_SOURCE_DIR}/platform/tarvex/include/tarvex.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT kelsoftTargets NAMESPACE kelsoft:: DESTINATION ${KEL_CMAKE_DIR})
configure_package_config_file(cmake/kelsoftConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kelsoftConfig.cmake INSTALL_DESTINATION ${KEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kelsoftConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kelsoftConfig.cmake ${PROJECT_BINARY_DIR}/kelsoftConfigVersion.cmake
  DESTINATION ${KEL_CMAKE_DIR})

# The .pc files locate the prefix from their own folder, as the CMake package does.
file(RELATIVE_PATH KEL_PC_PREFIX /root/${KEL_PKGCONFIG_DIR} /root)
string(REGEX REPLACE "/$" "" KEL_PC_PREFIX "\${pcfiledir}/${KEL_PC_PREFIX}")
foreach(pc kelsoft tarvex)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${KEL_PKGCONFIG_DIR})
endforeach()
