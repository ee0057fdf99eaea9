# 64-bit Windows, where wine runs the Windows build on a machine that runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake")
