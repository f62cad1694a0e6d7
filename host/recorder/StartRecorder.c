/* A program that records how it was started and exits with a code the test
 * chooses. It is built twice: as the installer that an update package holds
 * (InstallerStandin.exe, variables ORV_INSTALLER_*) and as the set-up helper
 * of the REST API component (checknet.exe, variables ORV_CHECKNET_*). The
 * prefix is given at build time as RECORDER_PREFIX.
 *
 * <prefix>_RECORD   file to which each run appends one line, its fields
 *                   separated by tab characters: the program's own path, the
 *                   working folder, the whole command line as the process
 *                   received it, then each argument as the C runtime splits
 *                   the command line.
 * <prefix>_EXIT     exit codes for successive runs, separated by commas: run
 *                   n (counted by the lines already in the record file) takes
 *                   the n-th code, and runs past the list take the last one.
 *                   Unset or empty: 0.
 * <prefix>_DELAY_MS the time to wait before exiting, so that a caller's wait
 *                   can be seen to keep its messages flowing.
 *
 * When a record file is named but cannot be written the program exits with
 * 99 instead of the chosen code, so that a test cannot miss it. The program
 * uses only the system's C runtime, so that a copy of it runs from any
 * folder (the update check starts the downloaded package from the
 * temporary folder). */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define NAME(suffix) RECORDER_PREFIX "_" suffix

static int CountLines(const char* path)
{
    FILE* file = fopen(path, "rb");
    int lines = 0;
    int c;
    if (file == NULL)
        return 0;
    while ((c = fgetc(file)) != EOF)
        if (c == '\n')
            ++lines;
    fclose(file);
    return lines;
}

/* The code for run number `run` from a list such as "0,1,5". */
static int ChosenCode(const char* list, int run)
{
    int code = 0;
    int index = 0;
    const char* p = list;
    if (list == NULL || list[0] == '\0')
        return 0;
    for (;;) {
        code = atoi(p);
        if (index == run)
            return code;
        p = strchr(p, ',');
        if (p == NULL)
            return code;
        ++p;
        ++index;
    }
}

int main(int argc, char** argv)
{
    const char* record = getenv(NAME("RECORD"));
    const char* delay = getenv(NAME("DELAY_MS"));
    int run = 0;
    int code;

    if (record != NULL && record[0] != '\0') {
        char module[MAX_PATH + 1] = "";
        char folder[MAX_PATH + 1] = "";
        FILE* file;
        run = CountLines(record);
        GetModuleFileNameA(NULL, module, sizeof module);
        GetCurrentDirectoryA(sizeof folder, folder);
        file = fopen(record, "ab");
        if (file == NULL)
            return 99;
        fprintf(file, "%s\t%s\t%s", module, folder, GetCommandLineA());
        for (int i = 1; i < argc; ++i)
            fprintf(file, "\t%s", argv[i]);
        fputc('\n', file);
        if (fclose(file) != 0)
            return 99;
    }
    code = ChosenCode(getenv(NAME("EXIT")), run);
    if (delay != NULL && atoi(delay) > 0)
        Sleep((DWORD)atoi(delay));
    return code;
}
