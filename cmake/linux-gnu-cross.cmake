# Shared by the toolchain files of the cross builds: Debian's <triplet>-gcc
# and the triplet's libraries under /usr/<triplet>, programs run under
# qemu-user. The including file sets KEL_TRIPLET, KEL_QEMU and
# CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${KEL_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${KEL_TRIPLET}-g++)
set(KEL_TARGET_SYSROOT /usr/${KEL_TRIPLET})
# Appended, so that a build against an installed sysroot can add its own.
list(APPEND CMAKE_FIND_ROOT_PATH ${KEL_TARGET_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KEL_QEMU} -L ${KEL_TARGET_SYSROOT})
