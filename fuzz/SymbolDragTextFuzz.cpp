// Reads a symbol and an account from arbitrary dropped bytes, as another
// program may hand them over. The first byte picks the symbol type flags;
// the rest is the memory block, with or without a zero byte.
#include "controls/SymbolDragText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsSymbolChar(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || std::strchr(" .-/_:", ch) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const ULONG flags = data[0] & 0x1F;
    const CString text = orv::dragdrop::TextOfBlock(data + 1, size - 1);
    Check(static_cast<std::size_t>(text.GetLength()) <= size - 1);

    CString symbol;
    if (orv::dragdrop::SymbolFromDragText(text, flags, symbol)) {
        Check(symbol.GetLength() >= 1 && symbol.GetLength() <= 24);
        Check(symbol != "ACCOUNT" && symbol != "|ACCOUNT");
        for (int i = 1; i < symbol.GetLength(); ++i)
            Check(IsSymbolChar(symbol[i]));
        char buffer[25];
        Check(orv::dragdrop::CopyToBuffer(symbol, buffer, sizeof buffer) && symbol == buffer);
    }
    CString account;
    if (orv::dragdrop::AccountFromDragText(text, account)) {
        Check(!account.IsEmpty() && account.Find(':') < 0);
        // An account read back from a drag's own text is the same account.
        CString plain, orv, again;
        Check(orv::dragdrop::MakeDragTexts("", account, plain, orv));
        Check(orv::dragdrop::AccountFromDragText(orv, again) && again == account);
    }
    return 0;
}
