/* A program that records how it was started: each run appends one line to
 * the file named by the environment variable ORV_LINK_RECORD, holding its
 * arguments (as the C runtime splits the command line) separated by tab
 * characters. It stands in for the browser that a link would open. Exit
 * code 0 when the line was written, 2 when there is no file to write to. */
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    const char* path = getenv("ORV_LINK_RECORD");
    FILE* file = path != NULL && path[0] != '\0' ? fopen(path, "ab") : NULL;
    if (file == NULL)
        return 2;
    for (int i = 1; i < argc; ++i)
        fprintf(file, "%s%s", i > 1 ? "\t" : "", argv[i]);
    fputc('\n', file);
    return fclose(file) == 0 ? 0 : 2;
}
