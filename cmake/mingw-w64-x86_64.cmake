# Cross-builds for 64-bit Windows with Debian's mingw-w64 (POSIX threads, for
# std::thread and std::mutex). The C and C++ runtimes are linked statically so
# the programs run on a bare Windows, and under Wine, without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Libraries and packages come only from the mingw sysroot and the prefixes
# given in CMAKE_FIND_ROOT_PATH / CMAKE_PREFIX_PATH, never from the Linux host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
