// Standard output and standard error on Windows. The program is built for the GUI subsystem, so
// that started from the Start menu, a shortcut or Explorer it shows only its own window: Windows
// then gives it no console. Started with its output redirected, it has been handed a file or a
// pipe, kept as it is. Started from a console, it attaches to that console (the parent's) and
// reopens the C streams on it, in text mode, so that its lines end in \r\n as before.
#include "app/console.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {
// Whether the standard handle `which` is a file or a pipe the program was started with.
bool leadsToFileOrPipe(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// Whether the standard handle `which` is a character device other than a console, such as NUL.
// Meaningful once the process has a console: a console handle then answers GetConsoleMode.
bool leadsToOtherDevice(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) != FILE_TYPE_CHAR) {
        return false;
    }
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) == 0;
}

// Points `stream` (descriptor `fd`) and the standard handle `which` at the console, in text mode.
// freopen does it where the stream never had a file (its descriptor is then negative), except in
// Wine's msvcrt, which refuses such a stream and leaves it as it was: there the console gets the
// descriptor with _dup2 and the stream is bound to it, as msvcrt itself binds the standard streams
// at start-up. If the console cannot be opened, what is written to the stream is lost, as without
// a console.
void reopenOnConsole(std::FILE* stream, int fd, DWORD which) {
    if (std::freopen("CONOUT$", "w", stream) == nullptr) {
        const HANDLE console =
            CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        const int opened = console == INVALID_HANDLE_VALUE
                               ? -1
                               : _open_osfhandle(reinterpret_cast<intptr_t>(console), _O_TEXT);
        if (opened < 0) {
            return;
        }
        const int bound = _dup2(opened, fd);
        _close(opened);
        if (bound != 0) {
            return;
        }
        stream->_file = fd;
    }
    SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
}
} // namespace

void connectConsoleOutput() {
    const bool keepOut = leadsToFileOrPipe(STD_OUTPUT_HANDLE);
    const bool keepErr = leadsToFileOrPipe(STD_ERROR_HANDLE);
    if (keepOut && keepErr) {
        return;
    }
    // Refused with ERROR_ACCESS_DENIED when the process has a console already (Wine gives a GUI
    // program its parent's); the C streams are reopened on it all the same.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) {
        return;
    }
    if (!keepOut && !leadsToOtherDevice(STD_OUTPUT_HANDLE)) {
        reopenOnConsole(stdout, 1, STD_OUTPUT_HANDLE);
    }
    if (!keepErr && !leadsToOtherDevice(STD_ERROR_HANDLE)) {
        reopenOnConsole(stderr, 2, STD_ERROR_HANDLE);
    }
}
