# kel_shared_library(<target> EXPORTS <file>... SOURCES <file>...)
#
# A C-linkage library built the platform's way: C++ without exceptions, RTTI
# or the C++ runtime, fortified. Shared (the default), it exports exactly the
# names listed in the EXPORTS files (one name a line); the merged list is
# written to <binary dir>/<target>.exports for the tests that read the built
# file. With BUILD_SHARED_LIBS=OFF it is a static archive instead; with
# KEL_INSTALL_ARCHIVES=ON a shared build makes the archive too, as
# <target>_archive, for the development package.
option(KEL_INSTALL_ARCHIVES "In a shared build, also build and install the static archives" OFF)
if(DEFINED BUILD_SHARED_LIBS AND NOT BUILD_SHARED_LIBS)
  set(KEL_LIBRARY_TYPE STATIC)
else()
  set(KEL_LIBRARY_TYPE SHARED)
endif()

# Compiler settings every build of the sources shares.
function(kel_library_compile target)
  target_compile_options(${target} PRIVATE
    -O2 -fPIC -fstack-protector-strong
    -Wall -Wextra
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
    # Results must not depend on whether the compiler fuses a multiply-add.
    -ffp-contract=off
    # The fault tests need NaN and infinity: a -ffast-math or -Ofast among the
    # user's flags would fold them away (x - x to 0).
    -fno-fast-math
    # The fault report's source path must not depend on where the tree lies.
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
  target_compile_definitions(${target} PRIVATE _FORTIFY_SOURCE=2 _FILE_OFFSET_BITS=64)
endfunction()

function(kel_shared_library target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXPORTS;SOURCES")
  set(names "")
  foreach(list_file IN LISTS arg_EXPORTS)
    file(STRINGS "${list_file}" lines REGEX "^[A-Za-z_][A-Za-z0-9_]*$")
    list(APPEND names ${lines})
  endforeach()
  list(SORT names)
  list(JOIN names "\n" names_text)
  list(JOIN names ";\n    " map_text)
  set(exports_file "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports")
  set(map_file "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
  file(CONFIGURE OUTPUT "${exports_file}" CONTENT "${names_text}\n")
  file(CONFIGURE OUTPUT "${map_file}" CONTENT "{\n  global:\n    ${map_text};\n  local: *;\n};\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_EXPORTS})

  add_library(${target} ${KEL_LIBRARY_TYPE} ${arg_SOURCES})
  set_target_properties(${target} PROPERTIES KEL_EXPORTS_FILE "${exports_file}")
  kel_library_compile(${target})
  if(KEL_LIBRARY_TYPE STREQUAL "STATIC")
    return()
  endif()
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # The C driver links no C++ runtime; the code needs none.
    LINKER_LANGUAGE C
    LINK_DEPENDS "${map_file}")
  target_link_options(${target} PRIVATE
    -static-libgcc
    -Wl,--version-script=${map_file}
    -Wl,--as-needed -Wl,-z,relro -Wl,-z,now)
  # clang's sanitizer runtimes live in the executable, so a fuzzing build of
  # the library has undefined references by design.
  if(NOT KEL_SANITIZE STREQUAL "fuzzer")
    target_link_options(${target} PRIVATE -Wl,-z,defs)
  endif()
  if(KEL_INSTALL_ARCHIVES)
    # Compiled as the shared library is, with what its directory adds later.
    add_library(${target}_archive STATIC ${arg_SOURCES})
    set_target_properties(${target}_archive PROPERTIES OUTPUT_NAME ${target})
    kel_library_compile(${target}_archive)
    target_include_directories(${target}_archive PRIVATE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)
  endif()
endfunction()
