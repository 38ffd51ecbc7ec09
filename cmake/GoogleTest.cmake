# GoogleTest is built from source for whichever target is configured, so the
# native and the Windows test binaries use the same framework.
set(ORVALET_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)  # same static runtime as Orvalet
# Its own warnings are its authors' business: never errors here.
block()
  set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
  add_subdirectory(${ORVALET_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endblock()
