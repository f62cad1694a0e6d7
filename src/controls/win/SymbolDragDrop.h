// Symbol drag and drop between the application's windows and to other
// programs: DoDragDrop starts a drag of a symbol and an account, the
// GetDragDrop* functions read a drop, and COrvDropSource lets the companion
// library OrvInject2.dll hand the symbol to windows of other processes.
//
// A drag offers the plain-text format (the symbol, or the account when there
// is no symbol) and the registered format "OrvClipFormat"
// ("SYMBOL=<symbol>|ACCOUNT=<account>"), both zero-terminated movable global
// blocks. The text rules live in controls/SymbolDragText.h.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/win/OleDragDrop.h"

// Drags the trimmed, upper-cased symbol and the account (nothing is offered
// when both are empty) with the copy effect; the companion library is told
// the symbol first. The effect the drag ended with.
ORV_API DROPEFFECT DoDragDrop(const char* symbol, const char* account);

// True and the symbol in the buffer when the dropped data ("OrvClipFormat",
// else plain text) carries a symbol of the accepted types (SYMTYPE_*). With
// a buffer, the symbol must be shorter than the capacity; a null buffer only
// asks whether there is one.
ORV_API BOOL GetDragDropSymbol(COleDataObject* data, ULONG symbolTypeFlags, char* symbol, int capacity);
// The same, with room for a symbol of up to 24 characters.
ORV_API BOOL GetDragDropSymbol(CString& symbol, COleDataObject* data, ULONG symbolTypeFlags);
// True and the account in the buffer when the dropped data carries one
// ("ACCOUNT=..."); with a buffer, the account must be shorter than the
// capacity.
ORV_API BOOL GetDragDropAccount(COleDataObject* data, char* account, int capacity);

// The drop source of symbol drags: at the drop it first lets the companion
// library hand the symbol to a window of another process under the cursor;
// at each feedback the library may show the cursor itself.
class ORV_API COrvDropSource : public COleDropSource {
public:
    SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    SCODE GiveFeedback(DROPEFFECT effect) override;
};
