// Standard output and standard error on Linux and other POSIX systems: inherited from whoever
// started the program, ready as they are. Windows has its own in console_windows.cpp.
#include "app/console.h"

void connectConsoleOutput() {}
