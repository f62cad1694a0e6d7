// CXML: construction, scanning, parsing into the record index, navigation
// and reading.
#include "xml/XML.h"

#include <algorithm>
#include <cstring>

#if defined(_WIN32)
#  include <mbstring.h>
#endif

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

// The characters that end an unquoted token (and form a token of their own).
bool IsSpecial(char ch)
{
    return ch != '\0' && std::strchr("<>=\\/?!", ch) != nullptr;
}

// The five references decoded in element text and attribute values.
struct EntityRef {
    const char* text;
    int length;
    char ch;
};
const EntityRef kEntityRefs[] = {
    {"&lt;", 4, '<'}, {"&amp;", 5, '&'}, {"&gt;", 4, '>'}, {"&apos;", 6, '\''}, {"&quot;", 6, '"'},
};

const char kCDataOpen[] = "<![CDATA[";
const char kCDataClose[] = "]]>";

} // namespace

CXML::CXML()
{
    m_aPos.SetSize(8);
}

CXML::CXML(const char* text) : CXML()
{
    SetDoc(text);
}

CXML::CXML(const CXML& other) : CXML()
{
    *this = other;
}

CXML& CXML::operator=(const CXML& other)
{
    if (this != &other) {
        m_csDoc = other.m_csDoc;
        m_aPos.Copy(other.m_aPos);
        m_iPos = other.m_iPos;
        m_iPosChild = other.m_iPosChild;
        m_nPosUsed = other.m_nPosUsed;
        m_nDepth = other.m_nDepth;
    }
    return *this;
}

CXML::~CXML() = default;

bool CXML::SetDoc(const char* text)
{
    return SetDoc(CString(text));
}

bool CXML::SetDoc(const CString& text)
{
    m_csDoc = text;
    m_csError.Empty();
    ResetPos();
    const int needed = m_csDoc.GetLength() / 64 + 8;
    if (m_aPos.GetSize() < needed) {
        m_aPos.SetSize(needed);
    }
    x_ResetIndex();
    return x_ParseDoc();
}

bool CXML::IsWellFormed() const
{
    return x_Pos(0).iFirstChild != 0;
}

void CXML::ResetPos()
{
    m_iPos = 0;
    m_iPosChild = 0;
    m_nDepth = 0;
}

// ---------------------------------------------------------------- scanning

// A lead byte and its trail byte step together. Trail bytes of the
// double-byte code pages are never below 0x40, so a lead byte followed by
// markup punctuation or white space steps alone: a stray lead byte cannot
// swallow a '<', '>' or quote and put parsing out of step with editing.
int CXML::x_CharLength(int nOffset) const
{
#if defined(_WIN32)
    const int remaining = m_csDoc.GetLength() - nOffset;
    if (remaining >= 2) {
        const auto* p = reinterpret_cast<const unsigned char*>(m_csDoc.GetString() + nOffset);
        if (_mbclen(p) == 2 && p[1] >= 0x40) {
            return 2;
        }
    }
#else
    (void)nOffset;
#endif
    return 1;
}

int CXML::x_FindChar(char ch, int nFrom, int nLimit) const
{
    const char* doc = m_csDoc.GetString();
    nLimit = std::min(nLimit, m_csDoc.GetLength());
    for (int n = std::max(nFrom, 0); n < nLimit; n += x_CharLength(n)) {
        if (doc[n] == ch) {
            return n;
        }
    }
    return -1;
}

// Like x_FindChar for a text: a match never starts on a trail byte.
int CXML::x_FindText(const char* text, int nFrom) const
{
    const char* doc = m_csDoc.GetString();
    const int length = static_cast<int>(std::strlen(text));
    const int last = m_csDoc.GetLength() - length;
    for (int n = std::max(nFrom, 0); n <= last; n += x_CharLength(n)) {
        if (std::memcmp(doc + n, text, static_cast<std::size_t>(length)) == 0) {
            return n;
        }
    }
    return -1;
}

bool CXML::x_FindToken(TokenPos& token, int nFrom, int nLimit) const
{
    const char* doc = m_csDoc.GetString();
    nLimit = std::min(nLimit, m_csDoc.GetLength());
    int n = std::max(nFrom, 0);
    while (n < nLimit && IsBlank(doc[n])) {
        ++n;
    }
    if (n >= nLimit) {
        return false;
    }
    if (doc[n] == '"') {
        // A quote left open within the limit gives no token.
        const int close = x_FindChar('"', n + 1, nLimit);
        if (close < 0) {
            return false;
        }
        token = TokenPos{n + 1, close - 1, close + 1, true};
        return true;
    }
    const int start = n;
    while (n < nLimit && !IsBlank(doc[n]) && !IsSpecial(doc[n])) {
        n += x_CharLength(n);
    }
    if (n == start) {
        n = start + 1; // a lone special character
    }
    n = std::min(n, nLimit);
    token = TokenPos{start, n - 1, n, false};
    return true;
}

bool CXML::x_TokenEquals(const TokenPos& token, const char* text) const
{
    const std::size_t length = std::strlen(text);
    return !token.bQuoted && static_cast<std::size_t>(token.nEnd - token.nStart + 1) == length
        && std::memcmp(m_csDoc.GetString() + token.nStart, text, length) == 0;
}

// Compares the whole text, NUL bytes included, so that a tag name holding
// one still matches its end tag.
bool CXML::x_TokenEquals(const TokenPos& token, const CString& text) const
{
    const int length = text.GetLength();
    return !token.bQuoted && token.nEnd - token.nStart + 1 == length
        && std::memcmp(m_csDoc.GetString() + token.nStart, text.GetString(), static_cast<std::size_t>(length)) == 0;
}

CString CXML::x_TokenText(const TokenPos& token) const
{
    return m_csDoc.Mid(token.nStart, token.nEnd - token.nStart + 1);
}

// ----------------------------------------------------------------- parsing

void CXML::x_ResetIndex()
{
    m_aPos[0] = ElemPos{};
    m_nPosUsed = 1;
}

int CXML::x_GetFreePos()
{
    if (m_nPosUsed >= m_aPos.GetSize()) {
        const int size = m_aPos.GetSize();
        m_aPos.SetSize(size + std::max(size / 2, 1));
    }
    const int i = m_nPosUsed++;
    m_aPos[i] = ElemPos{};
    return i;
}

bool CXML::x_IsEmptyElem(int i) const
{
    return i != 0 && x_Pos(i).nStartTagEnd == x_Pos(i).nEndTagBegin + 1;
}

int CXML::x_NextScanAfter(int nOffset) const
{
    const int next = x_FindChar('<', nOffset, m_csDoc.GetLength());
    return next < 0 ? m_csDoc.GetLength() : next;
}

// Records the message (with the tag name in place of %s) and empties the
// index: a failed parse keeps no element.
bool CXML::x_ParseError(const char* message, const CString& tagName)
{
    m_csError = message;
    m_csError.Replace("%s", tagName);
    x_ResetIndex();
    return false;
}

// Builds the index without recursion: iParent is the innermost open element
// (0 for the document) and iPrev the last element completed inside it, so
// the records' parent links serve as the stack of open elements.
bool CXML::x_ParseDoc()
{
    int iParent = 0;
    int iPrev = 0;
    int nScan = 0;
    for (;;) {
        int nTagBegin = 0;
        TokenPos token;
        const TagKind kind = x_ParseTag(nScan, nTagBegin, token);
        if (kind == tagFailed) {
            return false;
        }
        if (kind == tagEnd) {
            if (iParent == 0) {
                // An end tag before any element: there is no element to read.
                return x_ParseError("Element tag not found");
            }
            x_Pos(iParent).nEndTagBegin = nTagBegin;
            if (!x_ParseEndTag(iParent, token)) {
                return false;
            }
            iPrev = iParent;
            iParent = x_Pos(iPrev).iParent;
            nScan = x_Pos(iPrev).nEndTagEnd + 1;
        } else {
            int iElem = 0;
            if (!x_ParseStartTag(iParent, iPrev, nTagBegin, token, iElem)) {
                return false;
            }
            if (x_IsEmptyElem(iElem)) {
                iPrev = iElem;
            } else {
                iParent = iElem;
                iPrev = 0;
            }
            nScan = x_Pos(iElem).nStartTagEnd + 1;
        }
        if (iParent == 0 && iPrev != 0) {
            return true; // the top-level element is complete
        }
    }
}

// Finds the next start or end tag from nScan, skipping processing
// instructions, comments, CDATA sections and declarations. On success
// nTagBegin is the tag's '<' and token its first token (the name, or '/').
CXML::TagKind CXML::x_ParseTag(int& nScan, int& nTagBegin, TokenPos& token)
{
    const int length = m_csDoc.GetLength();
    for (;;) {
        const int lt = x_FindChar('<', nScan, length);
        if (lt < 0) {
            // Inside an element too the next child is looked for first.
            x_ParseError("Element tag not found");
            return tagFailed;
        }
        if (!x_FindToken(token, lt + 1, length)) {
            x_ParseError("Abrupt end within tag");
            return tagFailed;
        }
        if (token.bQuoted) {
            x_ParseError("Tag starts with quote");
            return tagFailed;
        }
        const char first = m_csDoc[token.nStart];
        const bool single = token.nStart == token.nEnd;
        int nResume = -1;
        if (single && first == '?') {
            const int found = x_FindText("?>", token.nNext);
            nResume = found < 0 ? -1 : found + 2;
        } else if (single && first == '!') {
            const char after = token.nNext < length ? m_csDoc[token.nNext] : '\0';
            const char* terminator = after == '[' ? "]]>" : after == '-' ? "-->" : ">";
            const int from = after == '[' || after == '-' ? token.nNext + 1 : token.nNext;
            const int found = x_FindText(terminator, from);
            nResume = found < 0 ? -1 : found + static_cast<int>(std::strlen(terminator));
        } else {
            nTagBegin = lt;
            nScan = token.nNext;
            return single && first == '/' ? tagEnd : tagStart;
        }
        if (nResume < 0) {
            x_ParseError("End of tag not found");
            return tagFailed;
        }
        nScan = nResume;
    }
}

// Takes a record for the start tag at nTagBegin and links it after iPrev
// (or as iParent's first child).
bool CXML::x_ParseStartTag(int iParent, int iPrev, int nTagBegin, const TokenPos& name, int& iElem)
{
    const int gt = x_FindChar('>', name.nNext, m_csDoc.GetLength());
    if (gt < 0) {
        return x_ParseError("End of tag not found");
    }
    iElem = x_GetFreePos();
    ElemPos& elem = x_Pos(iElem);
    elem.iParent = iParent;
    elem.nStartTagBegin = nTagBegin;
    elem.nStartTagEnd = gt;
    if (m_csDoc[gt - 1] == '/') {
        elem.nEndTagBegin = gt - 1;
        elem.nEndTagEnd = gt;
        elem.nNextScan = x_NextScanAfter(gt + 1);
    }
    if (iPrev != 0) {
        x_Pos(iPrev).iNextSibling = iElem;
    } else {
        x_Pos(iParent).iFirstChild = iElem;
    }
    return true;
}

// Checks the rest of iElem's end tag after its '/': the element's name, then
// '>'. The end tag's '<' is already recorded.
bool CXML::x_ParseEndTag(int iElem, const TokenPos& slash)
{
    const CString name = x_GetTagName(iElem);
    const int length = m_csDoc.GetLength();
    // The end tag is read from its '<': the search for children stopped
    // at a '<' whose first token was '/', so these two checks hold for
    // every end tag that reaches here; they guard the records' offsets.
    const int lt = x_FindChar('<', x_Pos(iElem).nEndTagBegin, length);
    if (lt < 0) {
        return x_ParseError("End tag of %s element not found", name);
    }
    TokenPos opener;
    if (!x_FindToken(opener, lt + 1, length) || opener.nStart != slash.nStart || !x_TokenEquals(opener, "/")) {
        return x_ParseError("Expecting end tag of element %s", name);
    }
    TokenPos token;
    if (!x_FindToken(token, slash.nNext, length) || !x_TokenEquals(token, name)) {
        return x_ParseError("End tag does not correspond to %s", name);
    }
    TokenPos close;
    if (!x_FindToken(close, token.nNext, length) || !x_TokenEquals(close, ">")) {
        return x_ParseError("End tag not completed for element %s", name);
    }
    ElemPos& elem = x_Pos(iElem);
    elem.nEndTagEnd = close.nStart;
    elem.nNextScan = x_NextScanAfter(close.nNext);
    return true;
}

// -------------------------------------------------------------- navigation

bool CXML::FindElem(const char* name)
{
    int i = m_iPos != 0 ? x_Pos(m_iPos).iNextSibling : x_Pos(0).iFirstChild;
    for (; i != 0; i = x_Pos(i).iNextSibling) {
        if (x_NameMatches(i, name)) {
            m_iPos = i;
            m_iPosChild = 0;
            return true;
        }
    }
    return false;
}

bool CXML::FindChildElem(const char* name)
{
    if (m_iPos == 0 && !FindElem(nullptr)) {
        return false;
    }
    if (x_IsEmptyElem(m_iPos)) {
        return false;
    }
    int i = m_iPosChild != 0 ? x_Pos(m_iPosChild).iNextSibling : x_Pos(m_iPos).iFirstChild;
    for (; i != 0; i = x_Pos(i).iNextSibling) {
        if (x_NameMatches(i, name)) {
            m_iPosChild = i;
            return true;
        }
    }
    return false;
}

bool CXML::IntoElem()
{
    if (m_iPosChild == 0 && !FindChildElem(nullptr)) {
        return false;
    }
    m_iPos = m_iPosChild;
    m_iPosChild = 0;
    ++m_nDepth;
    return true;
}

bool CXML::OutOfElem()
{
    if (m_nDepth == 0 || m_iPos == 0) {
        return false;
    }
    m_iPosChild = m_iPos;
    m_iPos = x_Pos(m_iPos).iParent;
    --m_nDepth;
    return true;
}

bool CXML::GetOffsets(int& nStart, int& nEnd) const
{
    if (m_iPos == 0) {
        return false;
    }
    nStart = x_Pos(m_iPos).nStartTagBegin;
    nEnd = x_Pos(m_iPos).nEndTagEnd;
    return true;
}

// ----------------------------------------------------------------- reading

bool CXML::x_NameMatches(int i, const char* name) const
{
    if (name == nullptr || *name == '\0') {
        return true;
    }
    TokenPos token;
    return x_FindToken(token, x_Pos(i).nStartTagBegin + 1, m_csDoc.GetLength()) && x_TokenEquals(token, name);
}

CString CXML::x_GetTagName(int i) const
{
    TokenPos token;
    if (i == 0 || !x_FindToken(token, x_Pos(i).nStartTagBegin + 1, m_csDoc.GetLength())) {
        return CString();
    }
    return x_TokenText(token);
}

CString CXML::x_GetData(int i) const
{
    if (i == 0 || x_Pos(i).iFirstChild != 0 || x_IsEmptyElem(i)) {
        return CString();
    }
    const int start = x_Pos(i).nStartTagEnd + 1;
    const int end = x_Pos(i).nEndTagBegin;
    const int openLength = static_cast<int>(sizeof kCDataOpen - 1);
    if (end - start >= openLength && std::memcmp(m_csDoc.GetString() + start, kCDataOpen, openLength) == 0) {
        const int textStart = start + openLength;
        const int close = x_FindText(kCDataClose, textStart);
        if (close >= 0 && close + 3 <= end) {
            return m_csDoc.Mid(textStart, close - textStart);
        }
    }
    return x_TextFromDoc(start, end);
}

// Reads the start tag's tokens after the name as (name, '=', quoted value)
// triples; anything else is stepped over one token at a time.
CString CXML::x_GetAttrib(int i, const char* name) const
{
    if (i == 0 || name == nullptr || *name == '\0') {
        return CString();
    }
    const int limit = x_Pos(i).nStartTagEnd;
    TokenPos token;
    if (!x_FindToken(token, x_Pos(i).nStartTagBegin + 1, limit)) {
        return CString();
    }
    int nScan = token.nNext;
    while (x_FindToken(token, nScan, limit)) {
        nScan = token.nNext;
        if (!x_TokenEquals(token, name)) {
            continue;
        }
        TokenPos equals;
        TokenPos value;
        if (x_FindToken(equals, token.nNext, limit) && x_TokenEquals(equals, "=")
            && x_FindToken(value, equals.nNext, limit) && value.bQuoted) {
            return x_TextFromDoc(value.nStart, value.nEnd + 1);
        }
    }
    return CString();
}

// The document's text in [nStart, nEnd) with the five references decoded;
// any other '&' is kept as it is.
CString CXML::x_TextFromDoc(int nStart, int nEnd) const
{
    const char* doc = m_csDoc.GetString();
    std::string text;
    text.reserve(static_cast<std::size_t>(std::max(nEnd - nStart, 0)));
    for (int n = nStart; n < nEnd;) {
        if (doc[n] == '&') {
            const EntityRef* match = nullptr;
            for (const EntityRef& ref : kEntityRefs) {
                if (nEnd - n >= ref.length && std::memcmp(doc + n, ref.text, ref.length) == 0) {
                    match = &ref;
                    break;
                }
            }
            if (match != nullptr) {
                text += match->ch;
                n += match->length;
                continue;
            }
        }
        text += doc[n];
        ++n;
    }
    return CString(text.data(), static_cast<int>(text.size()));
}
