# Finds the installed library the way KELSOFT_VIA says: "config" (its CMake
# package) or "pkg-config", and names the target to link in KELSOFT_TARGET.
set(KELSOFT_VIA config CACHE STRING "How to find kelsoft: config or pkg-config")
if(KELSOFT_VIA STREQUAL "pkg-config")
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(KELSOFT REQUIRED IMPORTED_TARGET kelsoft>=1.0)
  set(KELSOFT_TARGET PkgConfig::KELSOFT)
else()
  find_package(kelsoft 1.0 CONFIG REQUIRED)
  set(KELSOFT_TARGET kelsoft::kelsoft)
endif()
