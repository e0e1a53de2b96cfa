# 64-bit Windows, where the machine runs no 32-bit programs (scripts/windows-arch.sh); tests run
# through 64-bit Wine.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
