# The pieces only the Windows program needs: its Lua engine, built from
# Debian's source package, and its zip.
include(${CMAKE_CURRENT_LIST_DIR}/lua51-windows.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/windows-package.cmake)
