# The product's build: 32-bit Windows.
set(VELMORA_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
