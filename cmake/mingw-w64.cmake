# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), its
# programs run under wine. The model, optglow and their tests only: Qt for
# Windows is not available here.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe each, without the toolchain's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

set(NEG_BUILD_GUI OFF CACHE BOOL "")
set(NEG_BUILD_BENCH OFF CACHE BOOL "")

# nlohmann-json is header-only: Debian's package serves the cross build too,
# seen through a folder of links that holds it alone (the rest of /usr/include
# belongs to the host).
set(_neg_host ${CMAKE_BINARY_DIR}/host-headers)
if(NOT EXISTS ${_neg_host}/include/nlohmann)
  file(MAKE_DIRECTORY ${_neg_host}/include ${_neg_host}/share/cmake)
  file(CREATE_LINK /usr/include/nlohmann ${_neg_host}/include/nlohmann SYMBOLIC)
  file(CREATE_LINK /usr/share/cmake/nlohmann_json ${_neg_host}/share/cmake/nlohmann_json SYMBOLIC)
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${_neg_host})
