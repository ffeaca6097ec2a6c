# Another host: 32-bit Arm Linux with hardware floating point, run under qemu.
set(KEL_TRIPLET arm-linux-gnueabihf)
set(KEL_QEMU qemu-arm)
set(CMAKE_SYSTEM_PROCESSOR arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
