#include "controls/win/SymbolDragDrop.h"

#include "controls/SymbolDragText.h"
#include "controls/win/CompanionLibrary.h"
#include "controls/win/OleDataSourceEx.h"
#include "framework/win/RegisteredMessages.h"

#include <cstring>
#include <memory>

namespace {

// A symbol of 24 characters and its terminator.
constexpr int kSymbolRoom = 25;

struct GlobalFreer {
    void operator()(void* block) const { ::GlobalFree(block); }
};
using OwnedGlobal = std::unique_ptr<void, GlobalFreer>;

// Caches the text with its terminator; a failed allocation leaves the
// format out.
void CacheText(COleDataSource& source, CLIPFORMAT format, const CString& text)
{
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    OwnedGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    void* bytes = block ? ::GlobalLock(block.get()) : nullptr;
    if (bytes == nullptr)
        return;
    std::memcpy(bytes, text.GetString(), size);
    ::GlobalUnlock(block.get());
    source.CacheGlobalData(format, static_cast<HGLOBAL>(block.release()));
}

// The dropped text: "OrvClipFormat" when offered, else plain text. False
// when neither is there or the text is empty.
bool ReadDropText(COleDataObject* data, CString& text)
{
    if (data == nullptr)
        return false;
    CLIPFORMAT format = 0;
    if (g_cfOrvClipFormat != 0 && data->IsDataAvailable(g_cfOrvClipFormat))
        format = g_cfOrvClipFormat;
    else if (data->IsDataAvailable(CF_TEXT))
        format = CF_TEXT;
    if (format == 0)
        return false;
    OwnedGlobal block(data->GetGlobalData(format));
    const void* bytes = block ? ::GlobalLock(block.get()) : nullptr;
    if (bytes == nullptr)
        return false;
    text = orv::dragdrop::TextOfBlock(bytes, ::GlobalSize(block.get()));
    ::GlobalUnlock(block.get());
    return !text.IsEmpty();
}

bool ReadSymbol(COleDataObject* data, ULONG symbolTypeFlags, CString& symbol)
{
    CString text;
    return ReadDropText(data, text) && orv::dragdrop::SymbolFromDragText(text, symbolTypeFlags, symbol);
}

} // namespace

DROPEFFECT DoDragDrop(const char* symbol, const char* account)
{
    COleDataSourceEx source;
    CString plain, orv;
    if (orv::dragdrop::MakeDragTexts(symbol, account, plain, orv)) {
        CacheText(source, CF_TEXT, plain);
        if (g_cfOrvClipFormat != 0)
            CacheText(source, g_cfOrvClipFormat, orv);
    }
    orv::companion::SetExternalDropSymbol(orv::dragdrop::DragSymbol(symbol));
    COrvDropSource dropSource;
    return source.DoDragDrop(DROPEFFECT_COPY, &dropSource);
}

BOOL GetDragDropSymbol(COleDataObject* data, ULONG symbolTypeFlags, char* symbol, int capacity)
{
    CString found;
    if (!ReadSymbol(data, symbolTypeFlags, found))
        return FALSE;
    return symbol == nullptr || orv::dragdrop::CopyToBuffer(found, symbol, capacity);
}

BOOL GetDragDropSymbol(CString& symbol, COleDataObject* data, ULONG symbolTypeFlags)
{
    CString found;
    if (!ReadSymbol(data, symbolTypeFlags, found) || found.GetLength() >= kSymbolRoom)
        return FALSE;
    symbol = found;
    return TRUE;
}

BOOL GetDragDropAccount(COleDataObject* data, char* account, int capacity)
{
    CString text, found;
    if (!ReadDropText(data, text) || !orv::dragdrop::AccountFromDragText(text, found))
        return FALSE;
    return account == nullptr || orv::dragdrop::CopyToBuffer(found, account, capacity);
}

SCODE COrvDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    const SCODE answer = COleDropSource::QueryContinueDrag(escapePressed, keyState);
    // The moment of the drop: the library may hand the symbol to a window of
    // another process under the cursor.
    if (answer == DRAGDROP_S_DROP)
        orv::companion::HandleExternalDropTarget(1);
    return answer;
}

SCODE COrvDropSource::GiveFeedback(DROPEFFECT effect)
{
    if (orv::companion::HandleExternalDropTarget(0))
        return S_OK;
    return COleDropSource::GiveFeedback(effect);
}
