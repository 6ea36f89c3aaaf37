# The x86_64 cross compilers with the posix thread model, which GoogleTest needs: the Windows test
# programs are built with them, Tellbud.exe and the handset control with the default ones.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
