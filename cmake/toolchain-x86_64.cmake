# The 64-bit Windows build, which holds the tests and the tools.
set(VELMORA_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
