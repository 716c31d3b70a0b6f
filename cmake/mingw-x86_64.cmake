# 64-bit Windows (x64): the DLL for 64-bit hosts.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
