# Sanitizers apply to everything in the build, tests included.
if(KEL_SANITIZE STREQUAL "address")
  # float-cast-overflow is not part of GCC's "undefined" group.
  set(_kel_san -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all)
elseif(KEL_SANITIZE STREQUAL "fuzzer")
  # clang only: coverage for libFuzzer everywhere; the fuzz targets add the
  # fuzzer's own runtime when they link. clang's "undefined" holds
  # float-cast-overflow already.
  set(_kel_san -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
elseif(KEL_SANITIZE STREQUAL "thread")
  set(_kel_san -fsanitize=thread)
elseif(NOT KEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KEL_SANITIZE must be empty, address, fuzzer or thread")
endif()
if(DEFINED _kel_san)
  add_compile_options(${_kel_san} -fno-omit-frame-pointer)
  add_link_options(${_kel_san})
endif()
