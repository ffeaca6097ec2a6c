# Another host: 32-bit x86 Linux, run under qemu. Floating point in SSE2
# registers: the x87's 80-bit intermediates would change results (the library
# refuses to build without FLT_EVAL_METHOD 0).
set(KEL_TRIPLET i686-linux-gnu)
set(KEL_QEMU qemu-i386)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
