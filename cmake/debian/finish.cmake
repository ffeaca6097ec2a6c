# Run by cpack on the packages it made: what its DEB generator cannot be told.
# It writes postinst and postrm scripts that call ldconfig whenever a package
# holds a shared library, beside our ldconfig trigger, and a package with a
# postrm stays behind as "rc" after removal: both go. It has no Multi-Arch
# field: the library and development packages get "same".
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(root ${deb}.root)
  file(REMOVE_RECURSE ${root})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${root} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${root}/DEBIAN/postinst ${root}/DEBIAN/postrm)
  file(READ ${root}/DEBIAN/control control)
  string(REGEX MATCH "(^|\n)Package: ([^\n]*)" package "${control}")
  if(CMAKE_MATCH_2 IN_LIST CPACK_KEL_MULTIARCH_SAME)
    string(REGEX REPLACE "(^|\n)(Architecture: [^\n]*\n)" "\\1\\2Multi-Arch: same\n" control "${control}")
    file(WRITE ${root}/DEBIAN/control "${control}")
  endif()
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${root} ${deb} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${root})
endforeach()
