# 32-bit Windows, the platform of the shipped module.
set(CMAKE_SYSTEM_PROCESSOR i686)
include("${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake")
