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
 * Built with RECORDER_CLASS_ID (the set-up helper), a run whose chosen code
 * is 0 and whose arguments hold -REGASM=<path> registers <path> as the
 * in-process server of that COM class in the class registry, as the real
 * helper registers the component; a registration that fails exits with 98.
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

#ifdef RECORDER_CLASS_ID
/* Writes HKEY_CLASSES_ROOT\CLSID\<class>\InprocServer32 = server. */
static int RegisterServer(const char* server)
{
    const char* key_name = "CLSID\\" RECORDER_CLASS_ID "\\InprocServer32";
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CLASSES_ROOT, key_name, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL);
    if (result != ERROR_SUCCESS)
        return 0;
    result = RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)server, (DWORD)strlen(server) + 1);
    if (result == ERROR_SUCCESS)
        result = RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, (const BYTE*)"Both", 5);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

/* Registers the server named by -REGASM=, if any; 0 when that fails. */
static int RegisterAsked(int argc, char** argv)
{
    static const char option[] = "-REGASM=";
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], option, sizeof option - 1) == 0)
            return RegisterServer(argv[i] + sizeof option - 1);
    return 1;
}
#endif

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
#ifdef RECORDER_CLASS_ID
    if (code == 0 && !RegisterAsked(argc, argv))
        code = 98;
#endif
    if (delay != NULL && atoi(delay) > 0)
        Sleep((DWORD)atoi(delay));
    return code;
}
