// CXML: a small markup document kept as one string plus an index of element
// positions, with CXML::TokenPos (a scanned token) and CXML::ElemPos (one
// element's offsets and links).
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

// A lightweight markup document for small texts such as settings and
// messages with markup. The document is one string; beside it an index of
// element records (offsets into the string) lets a caller walk it with a
// current element and a current child element, read tag names, data and
// attributes, and add elements and attributes by editing the string in
// place. Only elements get records: processing instructions, comments,
// CDATA sections and declarations are skipped. Only the first top-level
// element is parsed; text after it is not examined.
//
// Failures are results: navigation and reading return false or empty text,
// and a parse failure leaves the index empty with its message in GetError().
// The parser is iterative, so nesting depth is limited only by memory.
class ORV_API CXML {
public:
    // A token found by the scanner. Offsets are into the document; nEnd is
    // inclusive. For a quoted token the range excludes the quotes, so an
    // empty quoted value has nEnd == nStart - 1.
    struct TokenPos {
        int nStart = 0;
        int nEnd = -1;
        int nNext = 0; // where scanning continues
        bool bQuoted = false;
    };

    // The offsets and links of one element. Record 0 stands for the document
    // itself; its first child is the top-level element.
    struct ElemPos {
        int nStartTagBegin = 0; // the '<' of the start tag
        int nStartTagEnd = 0;   // the '>' of the start tag
        int nEndTagBegin = 0;   // the '<' of the end tag; the '/' of an empty-element tag
        int nEndTagEnd = 0;     // the '>' of the end tag; the start tag's '>' when empty
        int nNextScan = 0;      // the first '<' after the element, or the document length
        int iParent = 0;        // 0 for the top-level element
        int iFirstChild = 0;
        int iNextSibling = 0;
    };

    CXML();
    // Applies SetDoc to text.
    explicit CXML(const char* text);
    // Copies everything but the error message, which starts empty.
    CXML(const CXML& other);
    // Copies the document, the index, both positions and the depth; this
    // object's error message is kept.
    CXML& operator=(const CXML& other);
    virtual ~CXML();

    // Replaces the document (null is empty), resets the positions and
    // rebuilds the index. True when a top-level element was parsed; on
    // failure the index is empty and GetError() holds the message. The
    // message is cleared at the start of every call.
    bool SetDoc(const char* text);
    // The same for a text that may hold NUL bytes.
    bool SetDoc(const CString& text);
    CString GetDoc() const { return m_csDoc; }
    // True when the index holds a top-level element.
    bool IsWellFormed() const;
    CString GetError() const { return m_csError; }

    // Reads the whole file, turns every LF not preceded by CR into CR LF and
    // applies SetDoc. 0 when the file was read, 1 when it could not be; the
    // outcome of SetDoc is not part of the result.
    int LoadFile(const char* path);
    // Writes the document unchanged: 0 on success, 1 on failure. The text
    // goes to a temporary file beside the target which then replaces it, so
    // a failed save leaves any existing file as it was.
    int SaveFile(const char* path) const;

    // Positions and depth to 0.
    void ResetPos();
    void ResetChildPos() { m_iPosChild = 0; }

    // Moves to the next sibling after the current element (or to the
    // top-level element when there is none) whose tag name equals name; a
    // null or empty name matches any. Resets the child position.
    bool FindElem(const char* name = nullptr);
    // Moves the child position to the next matching child of the current
    // element, finding the top-level element first when there is no current
    // one. False for an empty-element tag.
    bool FindChildElem(const char* name = nullptr);
    // Makes the current child (found first when there is none) the current
    // element, one level deeper.
    bool IntoElem();
    // Makes the current element the current child and its parent the
    // current element. False at depth 0.
    bool OutOfElem();

    CString GetTagName() const { return x_GetTagName(m_iPos); }
    CString GetChildTagName() const { return x_GetTagName(m_iPosChild); }
    // The text of an element without child elements: a leading CDATA
    // section's text unchanged, or else the content with the five entity
    // references decoded. Empty for an element with children or an
    // empty-element tag.
    CString GetData() const { return x_GetData(m_iPos); }
    CString GetChildData() const { return x_GetData(m_iPosChild); }
    // The decoded value of the first quoted attribute called name; empty
    // when there is none.
    CString GetAttrib(const char* name) const { return x_GetAttrib(m_iPos, name); }
    CString GetChildAttrib(const char* name) const { return x_GetAttrib(m_iPosChild, name); }
    // The current element's start tag begin and end tag end.
    bool GetOffsets(int& nStart, int& nEnd) const;

    // The add operations write "<name/>" for empty data, else
    // "<name>data</name>" with the data escaped, followed by CR LF. The
    // name must be one plain token: not empty, no white space and none of
    // < > = \ / ? ! or a double quote; otherwise they return false and leave
    // the document unchanged.
    //
    // Adds an element after the current one and makes it current. At the
    // top level only when the document has no top-level element: the
    // document is then emptied and the element becomes the top-level one.
    bool AddElem(const char* name, const char* data = nullptr);
    // Adds an element after the current child (or after the current
    // element's last child) and makes it the current child. Needs a current
    // element; an empty-element tag is opened into a start and an end tag.
    bool AddChildElem(const char* name, const char* data = nullptr);
    // Appends name="value" (value escaped) to the current (child) element's
    // start tag.
    bool AddAttrib(const char* name, const char* value);
    bool AddChildAttrib(const char* name, const char* value);

protected:
    // Scanning. Both stop at nLimit (exclusive) and step over multi-byte
    // characters of the process code page as units.
    bool x_FindToken(TokenPos& token, int nFrom, int nLimit) const;
    int x_FindChar(char ch, int nFrom, int nLimit) const;
    int x_FindText(const char* text, int nFrom) const;
    int x_CharLength(int nOffset) const;
    bool x_TokenEquals(const TokenPos& token, const char* text) const;
    bool x_TokenEquals(const TokenPos& token, const CString& text) const;
    CString x_TokenText(const TokenPos& token) const;

    // Parsing and the record index.
    bool x_ParseDoc();
    enum TagKind { tagStart, tagEnd, tagFailed };
    TagKind x_ParseTag(int& nScan, int& nTagBegin, TokenPos& token);
    bool x_ParseStartTag(int iParent, int iPrev, int nTagBegin, const TokenPos& name, int& iElem);
    bool x_ParseEndTag(int iElem, const TokenPos& slash);
    bool x_ParseError(const char* message, const CString& tagName = CString());
    int x_GetFreePos();
    void x_ResetIndex();
    ElemPos& x_Pos(int i) { return m_aPos[i]; }
    const ElemPos& x_Pos(int i) const { return m_aPos[i]; }
    bool x_IsEmptyElem(int i) const;
    int x_NextScanAfter(int nOffset) const;

    // Reading.
    bool x_NameMatches(int i, const char* name) const;
    CString x_GetTagName(int i) const;
    CString x_GetData(int i) const;
    CString x_GetAttrib(int i, const char* name) const;
    CString x_TextFromDoc(int nStart, int nEnd) const;

    // Editing.
    static CString x_TextToDoc(const char* text, bool bAttrib);
    static bool x_IsPlainName(const char* name);
    int x_Add(int iParent, int iAfter, const char* name, const char* data);
    int x_AddIntoEmpty(int iParent, const CString& elem);
    bool x_AddAttrib(int i, const char* name, const char* value);
    void x_Adjust(int nFrom, int nShift, int iSkip);
    void x_DocChange(int nStart, int nLength, const CString& text);

    CString m_csDoc;
    int m_nDepth = 0;
    CString m_csError;
    CArray<ElemPos> m_aPos;
    int m_iPos = 0;
    int m_iPosChild = 0;
    int m_nPosUsed = 1;
};
