#include "controls/SymbolDragText.h"

#include "market/SecurityType.h"

#include <cstring>

namespace orv::dragdrop {

namespace {

constexpr const char* kSymbolPrefixes[] = {"SYMBOL=", "SYMB=", "NASDAQ:", "NYSE:", "AMEX:", "S="};
constexpr const char* kAccountKey = "ACCOUNT=";
constexpr int kMaxSymbolLength = 24;

bool IsAlnum(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

bool IsSymbolChar(char ch)
{
    return IsAlnum(ch) || std::strchr(" .-/_:", ch) != nullptr;
}

bool IsAccountChar(char ch)
{
    return IsAlnum(ch) || ch == ';' || ch == '_';
}

// The text up to the first character from `first` on that fails the test.
CString CutAtFirstOther(const CString& text, int first, bool (*allowed)(char))
{
    int end = first;
    while (end < text.GetLength() && allowed(text[end]))
        ++end;
    return text.Left(end);
}

CString Normalised(const char* text)
{
    CString result(text != nullptr ? text : "");
    result.Trim();
    result.MakeUpper();
    return result;
}

void CutAfterFirstPrefix(CString& text)
{
    for (const char* prefix : kSymbolPrefixes) {
        const int at = text.Find(prefix);
        if (at >= 0) {
            text = text.Mid(at + static_cast<int>(std::strlen(prefix)));
            return;
        }
    }
}

bool HasAcceptedLength(const CString& symbol)
{
    if (symbol == "$SRVNAME" || symbol == "$COMPQ")
        return true;
    return symbol.GetLength() >= 1 && symbol.GetLength() <= kMaxSymbolLength;
}

} // namespace

CString DragSymbol(const char* symbol)
{
    return Normalised(symbol);
}

bool MakeDragTexts(const char* symbol, const char* account, CString& plain, CString& orv)
{
    const CString upper = Normalised(symbol);
    const CString accountText(account != nullptr ? account : "");
    plain.Empty();
    orv.Empty();
    if (upper.IsEmpty() && accountText.IsEmpty())
        return false;
    plain = upper.IsEmpty() ? accountText : upper;
    orv.Format("SYMBOL=%s|ACCOUNT=%s", upper.GetString(), accountText.GetString());
    return true;
}

CString TextOfBlock(const void* data, std::size_t size)
{
    if (data == nullptr)
        return CString();
    const char* text = static_cast<const char*>(data);
    const void* zero = std::memchr(text, 0, size);
    const std::size_t length = zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : size;
    // A block too long to be a string's length is cut at that length: no
    // symbol or account text comes near it.
    return CString(text, static_cast<int>(length > 0x7FFFFFFF ? 0x7FFFFFFF : length));
}

bool SymbolFromDragText(const char* text, ULONG symbolTypeFlags, CString& symbol)
{
    CString found = Normalised(text);
    if (found.IsEmpty())
        return false;
    CutAfterFirstPrefix(found);
    // The first character is always kept, whatever it is.
    found = CutAtFirstOther(found, 1, IsSymbolChar);
    found.Trim();
    if (found == "ACCOUNT" || found == "|ACCOUNT")
        return false;
    if (!IsCompatibleSymbol(found, symbolTypeFlags) || !HasAcceptedLength(found))
        return false;
    symbol = found;
    return true;
}

bool AccountFromDragText(const char* text, CString& account)
{
    CString found = Normalised(text);
    const int at = found.Find(kAccountKey);
    if (at < 0)
        return false;
    found = found.Mid(at + static_cast<int>(std::strlen(kAccountKey)));
    found.Replace(':', ';');
    found = CutAtFirstOther(found, 0, IsAccountChar);
    if (found.IsEmpty())
        return false;
    account = found;
    return true;
}

bool CopyToBuffer(const CString& text, char* buffer, int capacity)
{
    if (buffer == nullptr || text.GetLength() >= capacity)
        return false;
    std::memcpy(buffer, text.GetString(), static_cast<std::size_t>(text.GetLength()) + 1);
    return true;
}

} // namespace orv::dragdrop
