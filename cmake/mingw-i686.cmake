# 32-bit Windows: the product.
set(mingwArch i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
