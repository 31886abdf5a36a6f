/* The parent of the Windows program in its console tests, under Wine:
 *   console_parent.exe console|pipe PROGRAM
 * It makes a console of its own, as cmd has, and starts PROGRAM from it with this process's
 * standard error. "console" hands PROGRAM no standard output, as Windows starts a GUI program
 * from a console (Wine would otherwise lend it the console's, which Windows does not): PROGRAM
 * must attach to this console to write there. "pipe" hands it a pipe as standard output: its
 * lines must go there, not to the console. When PROGRAM has ended, it prints
 *   console_lines=N pipe_lines=N pipe_crlf=N status=N
 * the rows the console's cursor moved down, the newlines and \r\n pairs read from the pipe, and
 * PROGRAM's exit status. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    const HANDLE report = GetStdHandle(STD_OUTPUT_HANDLE);
    STARTUPINFOA startup = {.cb = sizeof startup, .dwFlags = STARTF_USESTDHANDLES,
                            .hStdError = GetStdHandle(STD_ERROR_HANDLE)};
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE readEnd = NULL;
    const int piped = argc == 3 && strcmp(argv[1], "pipe") == 0;
    if (argc != 3 || (!piped && strcmp(argv[1], "console") != 0)) {
        fprintf(stderr, "usage: console_parent console|pipe PROGRAM\n");
        return 2;
    }
    FreeConsole();
    const HANDLE console = AllocConsole() ? CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                                        OPEN_EXISTING, 0, NULL)
                                          : INVALID_HANDLE_VALUE;
    CONSOLE_SCREEN_BUFFER_INFO before, after;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(console, &before) ||
        (piped && !CreatePipe(&readEnd, &startup.hStdOutput, &inherit, 0))) {
        fprintf(stderr, "console_parent: no console or pipe (error %lu)\n", GetLastError());
        return 2;
    }
    char command[MAX_PATH + 3];
    snprintf(command, sizeof command, "\"%s\"", argv[2]);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "console_parent: cannot start %s (error %lu)\n", argv[2], GetLastError());
        return 2;
    }
    long lines = 0, crlf = 0;
    if (piped) {
        CloseHandle(startup.hStdOutput);
        char buffer[4096], last = 0;
        DWORD got;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, NULL) && got > 0) {
            for (DWORD i = 0; i < got; last = buffer[i++]) {
                lines += buffer[i] == '\n';
                crlf += buffer[i] == '\n' && last == '\r';
            }
        }
    }
    DWORD status = 0, written;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    GetConsoleScreenBufferInfo(console, &after);
    char line[128];
    const int length = snprintf(line, sizeof line,
                                "console_lines=%d pipe_lines=%ld pipe_crlf=%ld status=%lu\n",
                                after.dwCursorPosition.Y - before.dwCursorPosition.Y, lines, crlf,
                                status);
    return WriteFile(report, line, (DWORD)length, &written, NULL) ? 0 : 2;
}
