# Builds separate projects against an installed tree, as other builds would.
#   cmake -DSTEP=install  -DBUILD_DIR=<build> -DROOT=<dir> -P run.cmake
#       installs the build into <dir>/usr (emptied first)
#   cmake -DSTEP=consumer -DROOT=<dir> -DPROJECT=<source> -DVIA=config|pkg-config
#         -DWORK=<dir> -DCC=... -DCXX=... -DGENERATOR=... [-DTOOLCHAIN=<file>]
#         [-DFLAGS="..."] [-DEMULATOR="..."] -P run.cmake
#       configures, builds and runs the project found in <source>
# A cross build (TOOLCHAIN given) finds the tree as a sysroot: CMake through
# CMAKE_FIND_ROOT_PATH, pkg-config through PKG_CONFIG_SYSROOT_DIR.
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed (${status}): ${command}")
  endif()
endfunction()

set(prefix ${ROOT}/usr)
separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")

if(STEP STREQUAL "install")
  file(REMOVE_RECURSE ${ROOT})
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
elseif(STEP STREQUAL "consumer")
  set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/lib/pkgconfig)
  set(options -G ${GENERATOR} -DCMAKE_C_COMPILER=${CC} -DCMAKE_CXX_COMPILER=${CXX} -DKELSOFT_VIA=${VIA}
    "-DCMAKE_C_FLAGS=${FLAGS}" "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
  if(TOOLCHAIN)
    set(ENV{PKG_CONFIG_SYSROOT_DIR} ${ROOT})
    list(APPEND options -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_FIND_ROOT_PATH=${ROOT})
  else()
    list(APPEND options -DCMAKE_PREFIX_PATH=${prefix})
  endif()
  file(REMOVE_RECURSE ${WORK})
  run(${CMAKE_COMMAND} -S ${PROJECT} -B ${WORK} ${options})
  run(${CMAKE_COMMAND} --build ${WORK})
  # The libraries find each other as the loader finds them in /usr/lib.
  set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
  run(${emulator} ${WORK}/consumer)
else()
  message(FATAL_ERROR "STEP must be install or consumer")
endif()
