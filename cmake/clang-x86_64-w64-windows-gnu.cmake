# Cross toolchain for 64-bit Windows with Debian's clang and lld, over the
# headers and libraries of Debian's mingw-w64 (the posix-threads GCC's C++
# library, as the mingw-w64 toolchain uses). A second compiler for the same
# configuration: what GCC lets pass, clang may not.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVALET_MINGW_PREFIX x86_64-w64-mingw32)
set(ORVALET_MINGW_SYSROOT /usr/${ORVALET_MINGW_PREFIX})
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-windows-gnu)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-windows-gnu)
set(CMAKE_RC_COMPILER ${ORVALET_MINGW_PREFIX}-windres)
set(CMAKE_SYSROOT ${ORVALET_MINGW_SYSROOT})

# Clang does not find Debian's GCC for mingw-w64 by itself: its C++ library
# and runtime are named here, and winpthread, which that library needs, is
# linked as GCC links it.
file(GLOB ORVALET_MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${ORVALET_MINGW_PREFIX}/*-posix)
list(SORT ORVALET_MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET ORVALET_MINGW_GCC_DIRS 0 ORVALET_MINGW_GCC_DIR)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${ORVALET_MINGW_GCC_DIR}/include/c++
    ${ORVALET_MINGW_GCC_DIR}/include/c++/${ORVALET_MINGW_PREFIX}
    ${ORVALET_MINGW_GCC_DIR}/include/c++/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${ORVALET_MINGW_GCC_DIR}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${ORVALET_MINGW_GCC_DIR}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread")

set(CMAKE_FIND_ROOT_PATH ${ORVALET_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
