# Another host: 64-bit little-endian Arm Linux, run under qemu.
set(KEL_TRIPLET aarch64-linux-gnu)
set(KEL_QEMU qemu-aarch64)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
