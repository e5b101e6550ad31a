# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads
# flavour, for std::thread and std::mutex). Programs run under Wine when the
# build itself has to run one (the sample generator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries built for Windows from source (GoogleTest, libxlsxwriter) are
# installed under the folder named by ONDAVIA_WINDOWS_DEPS.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $ENV{ONDAVIA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe with no runtime DLLs beside it: the C++ runtime, libgcc and
# winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(ONDAVIA_WINE NAMES wine wine64)
if(ONDAVIA_WINE)
  # The build tree's own Wine prefix: nothing is kept outside the checkout.
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
      ${ONDAVIA_WINE})
endif()
