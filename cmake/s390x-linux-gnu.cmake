# Another host: 64-bit big-endian IBM Z Linux, run under qemu.
set(KEL_TRIPLET s390x-linux-gnu)
set(KEL_QEMU qemu-s390x)
set(CMAKE_SYSTEM_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
