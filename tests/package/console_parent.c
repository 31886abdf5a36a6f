/* A parent for the Windows program in the console tests, run under Wine:
 *   console_parent.exe console|pipe PROGRAM
 * It makes a console of its own, as cmd or PowerShell has, and starts PROGRAM from it. "console"
 * hands it no standard handles, as Windows starts a GUI program from a console (Wine would
 * otherwise lend it the console's handles, which Windows does not): PROGRAM must attach to this
 * console to write there. "pipe" hands it the write end of a pipe as standard output and this
 * process's standard error: its lines must go to the pipe, not to the console. It waits for PROGRAM to end, then
 * prints on its own standard output, as the test started it:
 *   console_empty=N console_text=N pipe_lines=N pipe_crlf=N status=N
 * of the rows the console's cursor passed, the empty ones and those with text (under Wine
 * freeglut warns on standard error about the display's name); the newlines and \r\n pairs read
 * from the pipe; and PROGRAM's exit status. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdio.h>
#include <string.h>

static int fail(const char* what) {
    fprintf(stderr, "console_parent: %s failed (error %lu)\n", what, GetLastError());
    return 2;
}

int main(int argc, char** argv) {
    if (argc != 3 || (strcmp(argv[1], "console") != 0 && strcmp(argv[1], "pipe") != 0)) {
        fprintf(stderr, "usage: console_parent console|pipe PROGRAM\n");
        return 2;
    }
    const int piped = strcmp(argv[1], "pipe") == 0;
    /* The report goes where the test reads it; the console is a new one, whatever started us. */
    const HANDLE report = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    if (!AllocConsole()) {
        return fail("AllocConsole");
    }
    const HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                       0, NULL);
    CONSOLE_SCREEN_BUFFER_INFO before, after;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(console, &before)) {
        return fail("reading the console");
    }

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    HANDLE readEnd = NULL, writeEnd = NULL;
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (piped) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
            return fail("CreatePipe");
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = writeEnd;
        startup.hStdError = errors;
    }
    char command[MAX_PATH + 3];
    snprintf(command, sizeof command, "\"%s\"", argv[2]);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, piped, 0, NULL, NULL, &startup, &process)) {
        return fail("CreateProcess");
    }
    long pipeLines = 0, pipeCrlf = 0;
    if (piped) {
        CloseHandle(writeEnd);
        char buffer[4096], last = 0;
        DWORD got;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, NULL) && got > 0) {
            for (DWORD i = 0; i < got; ++i) {
                pipeLines += buffer[i] == '\n';
                pipeCrlf += buffer[i] == '\n' && last == '\r';
                last = buffer[i];
            }
        }
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    if (!GetConsoleScreenBufferInfo(console, &after)) {
        return fail("reading the console");
    }
    int empty = 0, text = 0;
    for (SHORT row = before.dwCursorPosition.Y; row < after.dwCursorPosition.Y; ++row) {
        char cells[1024];
        const DWORD width = after.dwSize.X < (SHORT)sizeof cells ? (DWORD)after.dwSize.X
                                                                 : (DWORD)sizeof cells;
        const COORD start = {0, row};
        DWORD read = 0;
        if (!ReadConsoleOutputCharacterA(console, cells, width, start, &read)) {
            return fail("reading the console's rows");
        }
        DWORD i = 0;
        while (i < read && cells[i] == ' ') {
            ++i;
        }
        empty += i == read;
        text += i != read;
    }
    char line[160];
    const int length = snprintf(line, sizeof line,
                                "console_empty=%d console_text=%d pipe_lines=%ld pipe_crlf=%ld "
                                "status=%lu\n",
                                empty, text, pipeLines, pipeCrlf, status);
    DWORD written;
    return WriteFile(report, line, (DWORD)length, &written, NULL) ? 0 : fail("the report");
}
