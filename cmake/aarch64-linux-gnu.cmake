# Cross build for 64-bit Arm Linux with Debian's cross compiler (g++-aarch64-linux-gnu).
# - The unit-only configuration (-DVORANDEL_UNIT_ONLY=ON) needs only the cross compiler's own C
#   and C++ libraries (in /usr/aarch64-linux-gnu); its test binaries run under user-mode emulation
#   (qemu-user), so plain ctest runs them.
# - The whole program (scripts/package arm64) links the arm64 GL, GLU and GLUT libraries that
#   multiarch installs beside the host's (libglut-dev:arm64 ... in /usr/lib/aarch64-linux-gnu).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Libraries and packages come from the target's folders only, never from the host's: the cross
# compiler's folder, and under / only the multiarch folders of aarch64-linux-gnu (the headers in
# /usr/include are the same for every architecture).
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config (which FindGLUT asks first) reads the arm64 .pc files, not the host's.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The tests run with the cross compiler's dynamic loader and C library. The loader's own search
# would also find the C library of an arm64 multiarch installation (/lib/aarch64-linux-gnu),
# whose version may differ from the loader's: a mismatched pair hangs the child after fork
# (death tests). LD_LIBRARY_PATH puts the matching library first.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu
    -E LD_LIBRARY_PATH=/usr/aarch64-linux-gnu/lib)
