// Sets the idle-pulse window of OrvInject2.dll's shared record from another
// process: OrvInjectSet <window handle in hex>. Prints the record's window
// before and after; exit code 0 on success, 1 for bad arguments, 2 when the
// library cannot be loaded.
#include "OrvInject2.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(argv[1], &end, 16);
    if (end == argv[1] || *end != '\0')
        return 1;
    std::printf("before %p\n", static_cast<void*>(gs_sharedInfo.hwndIdleTarget));
    gs_sharedInfo.hwndIdleTarget = reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
    std::printf("after %p\n", static_cast<void*>(gs_sharedInfo.hwndIdleTarget));
    return 0;
}
