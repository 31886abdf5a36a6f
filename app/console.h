#pragma once
// Where the program's console output goes when it is started. On Windows the program is a GUI
// program, which Windows starts without a console; on other systems standard output is always
// set up by whoever starts the program, and there is nothing to do.

// Called first thing in main. On Windows: standard output and standard error that already lead
// to a file or a pipe are kept as they are; otherwise, when the process that started the program
// has a console (cmd, PowerShell), the program attaches to it and writes there. Elsewhere a no-op.
void connectConsoleOutput();
