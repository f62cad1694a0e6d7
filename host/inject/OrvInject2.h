// OrvInject2.dll, the application's companion library for drops onto windows
// of other processes. Every process that loads it sees one shared record,
// gs_sharedInfo; its first field names the window that receives the message
// box's idle pulse.
#pragma once

#include <windows.h>

#if defined(ORVINJECT_BUILDING)
#  define ORVINJECT_API extern "C" __declspec(dllexport)
#else
#  define ORVINJECT_API extern "C" __declspec(dllimport)
#endif

// Longest symbol text the record holds, terminator included.
#define ORVINJECT_SYMBOL_SIZE 256

struct OrvInjectSharedInfo {
    HWND hwndIdleTarget;                  // may be null
    DWORD dragProcess;                    // process that set the symbol, 0 for none
    char symbol[ORVINJECT_SYMBOL_SIZE];   // the symbol being dragged
};

// A window of any process that accepts symbols dropped from the application
// carries this property (any nonzero value); it receives the symbol as
// WM_COPYDATA with dwData ORVINJECT_COPYDATA_SYMBOL.
#define ORVINJECT_TARGET_PROP "OrvInject2.DropTarget"
#define ORVINJECT_COPYDATA_SYMBOL 0x4F524453

// Remembers the symbol of the drag about to start. FALSE (and the record
// unchanged) for null or a text that does not fit the record.
ORVINJECT_API BOOL WINAPI SetExternalDropSymbol(const char* symbol);
// drop = 1 at the drop moment: hands the symbol to the window under the
// cursor when it is a target of another process; answers whether it did.
// drop = 0 at each feedback: nonzero when the window under the cursor is such
// a target, after showing the copy cursor itself.
ORVINJECT_API BOOL WINAPI HandleExternalDropTarget(int drop);
// The shared record.
ORVINJECT_API OrvInjectSharedInfo gs_sharedInfo;
