# Cross-build for the target: 32-bit big-endian PowerPC Linux, run under qemu.
set(KEL_TRIPLET powerpc-linux-gnu)
set(KEL_QEMU qemu-ppc)
set(CMAKE_SYSTEM_PROCESSOR powerpc)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
