# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), its
# programs run under wine. With the Qt for Windows that scripts/build-qt-windows
# makes ($NEG_QT_WINDOWS, default /var/cache/neg-qt-windows) the whole project
# builds, the editor and its GUI tests included; without it the model, optglow
# and their tests.
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
set(NEG_BUILD_BENCH OFF CACHE BOOL "")

set(_neg_qt $ENV{NEG_QT_WINDOWS})
if(NOT _neg_qt)
  set(_neg_qt /var/cache/neg-qt-windows)
endif()
# The stamp is written last: a Qt whose build did not finish is not taken.
if(EXISTS ${_neg_qt}/neg-build.stamp)
  set(NEG_BUILD_GUI ON CACHE BOOL "")
  list(PREPEND CMAKE_FIND_ROOT_PATH ${_neg_qt})
  list(PREPEND CMAKE_PREFIX_PATH ${_neg_qt})
  # moc, rcc and uic are the host's (Debian's Qt, the same version).
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  # The Qt DLLs use the compiler's runtime DLLs, and so does every program of
  # ours: one C++ runtime per process. Wine finds the DLLs on its path.
  set(_neg_dll_dirs ${_neg_qt}/bin)
  foreach(_neg_dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_neg_dll}
                    OUTPUT_VARIABLE _neg_dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_neg_dll_dir ${_neg_dll_path} REALPATH)
    get_filename_component(_neg_dll_dir ${_neg_dll_dir} DIRECTORY)
    list(APPEND _neg_dll_dirs ${_neg_dll_dir})
  endforeach()
  string(REPLACE ";" ":" _neg_dll_dirs "${_neg_dll_dirs}")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${_neg_dll_dirs})
else()
  set(NEG_BUILD_GUI OFF CACHE BOOL "")
  # One .exe each, without the toolchain's DLLs beside it.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()

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
