// CXML: adding elements and attributes (keeping the index in step with the
// edited document), escaping, and reading and writing files.
#include "xml/XML.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#if defined(_WIN32)
#  include "base/Types.h"
#else
#  include <climits>
#  include <cstdlib>
#  include <sys/stat.h>
#endif

namespace {

// The file a save replaces: a symbolic link is followed to its target, so
// the link stays a link. A link that leads nowhere is replaced itself.
std::string SaveTarget(const char* path)
{
#if defined(_WIN32)
    return path;
#else
    char resolved[PATH_MAX];
    if (realpath(path, resolved) != nullptr) {
        return resolved;
    }
    return path;
#endif
}

// Gives the new file the permissions of the one it replaces.
void KeepMode(const std::string& temporary, const std::string& target)
{
#if defined(_WIN32)
    (void)temporary;
    (void)target;
#else
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        chmod(temporary.c_str(), existing.st_mode & 07777);
    }
#endif
}

// Replaces target by source. On Windows a plain rename refuses an existing
// target, so the replacing move is asked for explicitly.
bool MoveOver(const std::string& source, const std::string& target)
{
#if defined(_WIN32)
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source.c_str(), target.c_str()) == 0;
#endif
}

} // namespace

// --------------------------------------------------------------- escaping

CString CXML::x_TextToDoc(const char* text, bool bAttrib)
{
    std::string escaped;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        switch (*p) {
        case '<': escaped += "&lt;"; break;
        case '&': escaped += "&amp;"; break;
        case '>': escaped += "&gt;"; break;
        case '\'': escaped += bAttrib ? "&apos;" : "'"; break;
        case '"': escaped += bAttrib ? "&quot;" : "\""; break;
        default: escaped += *p; break;
        }
    }
    return CString(escaped.c_str(), static_cast<int>(escaped.size()));
}

// A name the scanner reads back as one unquoted token, so that an added tag
// or attribute cannot change the structure the index records.
bool CXML::x_IsPlainName(const char* name)
{
    if (name == nullptr || *name == '\0') {
        return false;
    }
    for (const char* p = name; *p != '\0'; ++p) {
        if (std::strchr(" \t\r\n<>=\\/?!\"", *p) != nullptr) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- editing

void CXML::x_DocChange(int nStart, int nLength, const CString& text)
{
    const int docLength = m_csDoc.GetLength();
    nStart = std::clamp(nStart, 0, docLength);
    nLength = std::clamp(nLength, 0, docLength - nStart);
    m_csDoc = m_csDoc.Left(nStart) + text + m_csDoc.Mid(nStart + nLength);
}

// Moves every offset at or after nFrom by nShift, in every record in use
// but iSkip (a record whose offsets the caller sets itself).
void CXML::x_Adjust(int nFrom, int nShift, int iSkip)
{
    for (int i = 1; i < m_nPosUsed; ++i) {
        if (i == iSkip) {
            continue;
        }
        ElemPos& elem = x_Pos(i);
        for (int* offset : {&elem.nStartTagBegin, &elem.nStartTagEnd, &elem.nEndTagBegin, &elem.nEndTagEnd,
                            &elem.nNextScan}) {
            if (*offset >= nFrom) {
                *offset += nShift;
            }
        }
    }
}

// Inserts an element under iParent after iAfter (0: as the first child, or
// as the top-level element of an emptied document). Returns its record.
int CXML::x_Add(int iParent, int iAfter, const char* name, const char* data)
{
    const CString tag(name);
    const bool empty = data == nullptr || *data == '\0';
    const CString content = empty ? CString() : x_TextToDoc(data, false);
    const CString elem = empty ? "<" + tag + "/>\r\n" : "<" + tag + ">" + content + "</" + tag + ">\r\n";

    const int i = x_GetFreePos();
    x_Pos(i).iParent = iParent;
    int pos = 0;
    if (iAfter != 0) {
        pos = x_Pos(iAfter).nNextScan;
        x_DocChange(pos, 0, elem);
        x_Adjust(pos, elem.GetLength(), i);
        // The element before keeps pointing at the first '<' after it, which
        // is now the new element's.
        x_Pos(iAfter).nNextScan = pos;
        x_Pos(i).iNextSibling = x_Pos(iAfter).iNextSibling;
        x_Pos(iAfter).iNextSibling = i;
    } else if (iParent != 0 && x_IsEmptyElem(iParent)) {
        pos = x_AddIntoEmpty(iParent, elem);
        x_Pos(iParent).iFirstChild = i;
    } else {
        pos = iParent != 0 ? x_Pos(iParent).nStartTagEnd + 1 : 0;
        x_DocChange(pos, 0, elem);
        x_Adjust(pos, elem.GetLength(), i);
        x_Pos(i).iNextSibling = x_Pos(iParent).iFirstChild;
        x_Pos(iParent).iFirstChild = i;
    }

    ElemPos& added = x_Pos(i);
    const int nameLength = tag.GetLength();
    added.nStartTagBegin = pos;
    if (empty) {
        added.nEndTagBegin = pos + 1 + nameLength;
        added.nStartTagEnd = added.nEndTagBegin + 1;
        added.nEndTagEnd = added.nStartTagEnd;
    } else {
        added.nStartTagEnd = pos + 1 + nameLength;
        added.nEndTagBegin = added.nStartTagEnd + 1 + content.GetLength();
        added.nEndTagEnd = added.nEndTagBegin + 2 + nameLength;
    }
    added.nNextScan = x_NextScanAfter(added.nEndTagEnd + 1);
    return i;
}

// Opens the empty-element tag of iParent: its "/>" becomes ">" and CR LF,
// followed by the new element and the parent's end tag. Returns where the
// new element begins.
int CXML::x_AddIntoEmpty(int iParent, const CString& elem)
{
    const CString endTag = "</" + x_GetTagName(iParent) + ">";
    const int slash = x_Pos(iParent).nEndTagBegin;
    // A start tag ending in "//>" would still read as empty-element tag once
    // its last '/' is gone, so a space then stands before the '>'.
    const CString close = slash > 0 && m_csDoc[slash - 1] == '/' ? " >" : ">";
    const CString text = close + "\r\n" + elem + endTag;
    x_DocChange(slash, 2, text);
    x_Adjust(slash + 2, text.GetLength() - 2, iParent);

    ElemPos& parent = x_Pos(iParent);
    // The parent's next scan lay after its old "/>" and moves with the text.
    parent.nNextScan += text.GetLength() - 2;
    parent.nStartTagEnd = slash + close.GetLength() - 1;
    const int elemBegin = parent.nStartTagEnd + 3;
    parent.nEndTagBegin = elemBegin + elem.GetLength();
    parent.nEndTagEnd = parent.nEndTagBegin + endTag.GetLength() - 1;
    return elemBegin;
}

bool CXML::x_AddAttrib(int i, const char* name, const char* value)
{
    if (i == 0 || !x_IsPlainName(name)) {
        return false;
    }
    const int pos = x_IsEmptyElem(i) ? x_Pos(i).nEndTagBegin : x_Pos(i).nStartTagEnd;
    const CString text = " " + CString(name) + "=\"" + x_TextToDoc(value, true) + "\"";
    x_DocChange(pos, 0, text);
    x_Adjust(pos, text.GetLength(), 0);
    return true;
}

bool CXML::AddElem(const char* name, const char* data)
{
    if (!x_IsPlainName(name)) {
        return false;
    }
    int iParent = 0;
    if (m_iPos != 0) {
        iParent = x_Pos(m_iPos).iParent;
        if (iParent == 0) {
            return false; // the document keeps a single top-level element
        }
    } else if (IsWellFormed()) {
        return false;
    } else {
        m_csDoc.Empty();
        x_ResetIndex();
    }
    m_iPos = x_Add(iParent, m_iPos, name, data);
    m_iPosChild = 0;
    return true;
}

bool CXML::AddChildElem(const char* name, const char* data)
{
    if (m_iPos == 0 || !x_IsPlainName(name)) {
        return false;
    }
    int iAfter = m_iPosChild;
    if (iAfter == 0) {
        for (int i = x_Pos(m_iPos).iFirstChild; i != 0; i = x_Pos(i).iNextSibling) {
            iAfter = i;
        }
    }
    m_iPosChild = x_Add(m_iPos, iAfter, name, data);
    return true;
}

bool CXML::AddAttrib(const char* name, const char* value)
{
    return x_AddAttrib(m_iPos, name, value);
}

bool CXML::AddChildAttrib(const char* name, const char* value)
{
    return x_AddAttrib(m_iPosChild, name, value);
}

// ------------------------------------------------------------------ files

int CXML::LoadFile(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return 1;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return 1;
    }
    // istream::read turns a failing read (a directory, say) into badbit
    // where reading the buffer directly would throw.
    std::string bytes;
    char buffer[16384];
    do {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    } while (in);
    if (in.bad()) {
        return 1;
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        if (bytes[n] == '\n' && (n == 0 || bytes[n - 1] != '\r')) {
            text += '\r';
        }
        text += bytes[n];
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX - 1)) {
        return 1; // too large for a document string
    }
    SetDoc(CString(text.data(), static_cast<int>(text.size())));
    return 0;
}

int CXML::SaveFile(const char* path) const
{
    if (path == nullptr || *path == '\0') {
        return 1;
    }
    const std::string target = SaveTarget(path);
    const std::string temporary = target + ".orvtmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(m_csDoc.GetString(), m_csDoc.GetLength());
            out.close();
        }
        if (!out) {
            std::remove(temporary.c_str());
            return 1;
        }
    }
    KeepMode(temporary, target);
    if (!MoveOver(temporary, target)) {
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
