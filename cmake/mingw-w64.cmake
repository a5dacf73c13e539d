# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, which std::thread
# and Qt need). Qt's host tools (moc, uic, rcc) come from the build machine's own Qt.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TONGQIU_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TONGQIU_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TONGQIU_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TONGQIU_MINGW}-windres)

# Libraries and headers come from the MinGW sysroot and from the Windows Qt that
# scripts/windows-qt.sh built (its folder in TONGQIU_WINDOWS_QT); programs such as moc come from
# the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TONGQIU_MINGW})
if(DEFINED ENV{TONGQIU_WINDOWS_QT})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{TONGQIU_WINDOWS_QT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake files of the build machine's Qt")
