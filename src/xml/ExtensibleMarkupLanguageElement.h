// CExtensibleMarkupLanguageElement: one node of an XML document tree.
// Every piece of markup is a node (elements, processing instructions,
// comments, CDATA sections, declarations, text), so a parsed document can be
// written back in its order. Nodes own their children and attributes.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"
#include "xml/DataParser.h"
#include "xml/ExtensibleMarkupLanguageAttribute.h"
#include "xml/XmlNodeList.h"
#include "xml/XmlNodeText.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

class CExtensibleMarkupLanguageDocument;

namespace OrvXml {
// Elements nest at most this deep in a parsed document; one more level fails
// with "Elements are nested too deeply.". The parser keeps its open elements
// on a heap stack and the library's own walks (copy, count, text, writing,
// destruction) are iterative, so the library needs no machine stack per
// level. The limit bounds the work a hostile document can cause and keeps
// callers that walk a parsed tree recursively, at up to 100 bytes a frame,
// inside a 1 MB stack.
inline constexpr DWORD kMaximumNestingDepth = 10000;
// One parse expands parameter entities, and creates nodes from their
// replacement texts, at most this many times in all; one more fails with
// "Entity references expand too much.", recorded like the nesting limit.
// A few hundred bytes of declarations that each refer to the one before ten
// times would otherwise build millions of nodes.
inline constexpr DWORD kMaximumEntityExpansion = 100000;
class CXmlWriter;
} // namespace OrvXml

class ORV_API CExtensibleMarkupLanguageElement {
public:
    enum _ElementTypes : DWORD {
        typeUnknown = 0,
        typeProcessingInstruction = 1,
        typeComment = 2,
        typeCDATASection = 3,
        typeElement = 4,
        typeTextSegment = 5,
        typeMetaData = 6,
    };

    // Creates a node of the type; with a parent it is appended to the
    // parent's children and takes the parent's document when none is given.
    static CExtensibleMarkupLanguageElement* NewElement(CExtensibleMarkupLanguageElement* parent = nullptr,
        DWORD type = typeElement, CExtensibleMarkupLanguageDocument* document = nullptr);
    // Destroys the node and its subtree; null is ignored. A node that still
    // sits in a parent's children is taken out of them first.
    static void DeleteElement(CExtensibleMarkupLanguageElement* element);
    // Nodes created while a document is parsed share the parse's blocks of
    // memory; DeleteElement still destroys each on its own.
    static void* operator new(std::size_t size);
    static void operator delete(void* element, std::size_t size) noexcept;

    // --- Tree ---

    // Appends (index at or past the count) or inserts the child, which joins
    // this node's document. Ignores null, this node, a child already held
    // and an ancestor of this node. A child held by another parent must be
    // taken out of it with RemoveChild first.
    virtual void AddChild(CExtensibleMarkupLanguageElement* child, DWORD insertBefore = 0xFFFFFFFF);
    virtual void DestroyChildren();
    virtual bool EnumerateChildren(DWORD& index) const;
    virtual bool GetNextChild(DWORD& index, CExtensibleMarkupLanguageElement*& element) const;
    virtual DWORD GetNumberOfChildren() const;
    // Takes the first occurrence out without destroying it; the caller owns
    // it. It keeps its parent and document until it is added elsewhere or
    // destroyed, or until the document is destroyed, which clears both.
    virtual void RemoveChild(CExtensibleMarkupLanguageElement* child);

    // --- Attributes ---

    // Adds name="value" after normalising white space in the value. False,
    // with an error recorded, for a repeated name or a value holding '<'.
    virtual bool AddAttribute(const CString& name, const CString& value);
    virtual void DestroyAttributeByName(const CString& name);
    virtual void DestroyAttributeByValue(const CString& value);
    virtual void DestroyAttributes();
    virtual bool EnumerateAttributes(DWORD& index) const;
    virtual CExtensibleMarkupLanguageAttribute* GetAttributeByName(const CString& name) const;
    virtual bool GetAttributeByName(const CString& name, CString& value) const;
    virtual bool GetAttributeByName(CExtensibleMarkupLanguageAttribute& attribute) const;
    virtual bool GetAttributeByValue(CExtensibleMarkupLanguageAttribute& attribute) const;
    virtual bool GetNextAttribute(DWORD& index, CExtensibleMarkupLanguageAttribute*& attribute) const;
    virtual DWORD GetNumberOfAttributes() const;

    // --- Content ---

    // Appends a text child holding the text with &, <, >, " and ' escaped.
    virtual bool AddText(const CString& text);
    // Appends a text child holding the text as it is (written out as markup).
    virtual bool AddTextXML(const CString& text);
    // Empties this node and copies the other's tag, contents, type, flags,
    // attributes and (deeply) children.
    virtual void Copy(const CExtensibleMarkupLanguageElement& source);
    virtual DWORD CountChildren(const CString& path) const;
    // Clears the done flag, children, attributes, tag and contents.
    virtual void Empty();
    virtual bool GetAbortParsing() const;
    virtual void GetBeginning(CParsePoint& point) const;
    virtual CExtensibleMarkupLanguageElement* GetChild(const CString& path) const;
    virtual CExtensibleMarkupLanguageDocument* GetDocument() const;
    virtual void GetEnding(CParsePoint& point) const;
    virtual void GetCompleteName(CString& name) const;
    virtual void GetContents(CString& contents) const;
    virtual void GetName(CString& name) const;
    // The nearest ancestor whose tag equals the name, or null.
    virtual CExtensibleMarkupLanguageElement* GetParent(const CString& name) const;
    virtual CExtensibleMarkupLanguageElement* GetParent() const;
    virtual void GetTag(CString& tag) const;
    // The contents of this node and all its descendants, in order, with the
    // references of text segments resolved.
    virtual void GetText(CString& text) const;
    virtual DWORD GetTotalNumberOfChildren() const;
    virtual DWORD GetType() const;
    virtual bool IsAllWhiteSpace() const;
    virtual bool IsRoot() const;
    // Reads one node (and, for an element, its content) from the data.
    virtual bool Parse(const CParsePoint& beginning, CDataParser& parser);
    virtual void SetAbortParsing(bool abortParsing = true);
    virtual void SetContents(const CString& contents);
    virtual void SetDocument(CExtensibleMarkupLanguageDocument* document);
    virtual void SetTag(const CString& tag);
    // Values above 6 store typeUnknown.
    virtual void SetType(DWORD type);
    // Appends this node and its subtree, encoded by the document's write options.
    virtual void WriteTo(CByteArray& bytes) const;
    virtual CExtensibleMarkupLanguageElement& operator=(const CExtensibleMarkupLanguageElement& source);

    // Direct views for callers that read many nodes.
    const OrvXml::CNodeText& Tag() const noexcept { return m_TextIsContents ? m_OtherText() : m_Text; }
    const OrvXml::CNodeText& Contents() const noexcept { return m_TextIsContents ? m_Text : m_OtherText(); }
    bool IsEmptyTag() const noexcept { return m_IsTagEmpty; }
    bool IsDone() const noexcept { return m_IsDone; }

protected:
    CExtensibleMarkupLanguageElement() = default;
    virtual ~CExtensibleMarkupLanguageElement();

    virtual void m_AddCharacterToOutput(DWORD character, DWORD writeOptions, CByteArray& bytes) const;
    virtual void m_AddIndentation(CByteArray& bytes) const;
    virtual void m_AppendAttributes(CByteArray& bytes) const;
    virtual void m_AppendChildren(CByteArray& bytes) const;
    virtual void m_DecrementIndentation() const;
    // The name part of a piece of markup: up to the first white space, or
    // the whole markup without '<' and '>', trimmed.
    virtual void m_GetTag(const CString& text, CString& tag) const;
    virtual void m_IncrementIndentation() const;
    virtual void m_Initialize();
    virtual bool m_ParseCDATASection(const CString& text, CDataParser& parser);
    virtual bool m_ParseDOCTYPESection(const CString& text, CDataParser& parser);
    virtual bool m_ParseElementName(const CString& name);
    virtual bool m_ParseProcessingInstruction();
    // Classifies a piece of markup (with its '<' and terminator); closed
    // tells whether the node is complete without content.
    virtual bool m_ParseTag(const CString& text, bool& closed, CDataParser& parser);
    virtual bool m_ParseXMLDeclaration(const CString& text);
    // Records the first error of a parse in the document's error record.
    virtual void m_ReportParsingError(const CString& message) const;
    virtual void m_ResolveEntities(CString& text) const;
    // Trims spaces, then one quote at each end; false when the closing
    // quote is missing or the text is empty.
    virtual bool m_TrimQuotesAndSpaces(CString& text, char quote) const;

private:
    friend class CExtensibleMarkupLanguageDocument;
    friend class OrvXml::CXmlWriter;

    CExtensibleMarkupLanguageElement(const CExtensibleMarkupLanguageElement&) = delete;


    // See m_Up.
    struct CUpLinks {
        CExtensibleMarkupLanguageElement* parent = nullptr;
        // The node's own document when it holds one; set through Name only.
        CExtensibleMarkupLanguageDocument* document = nullptr;
        // Whether document is the node's; otherwise it is its parent's.
        bool holdsDocument = false;
        // The text of the two that m_Text does not hold.
        OrvXml::CNodeText otherText;
        // The records that hold the same document, in a list the document
        // heads, so that it can clear them when it goes first.
        CUpLinks* previousHolder = nullptr;
        CUpLinks* nextHolder = nullptr;
        // The children taken out of this node that still name it, first of
        // a list through their own records (previousLent, nextLent): this
        // node clears their parent when it goes.
        CExtensibleMarkupLanguageElement* firstLent = nullptr;
        CExtensibleMarkupLanguageElement* previousLent = nullptr;
        CExtensibleMarkupLanguageElement* nextLent = nullptr;

        CUpLinks() = default;
        CUpLinks(const CUpLinks&) = delete;
        CUpLinks& operator=(const CUpLinks&) = delete;
        ~CUpLinks() { Name(nullptr, false); }
        // Names the document, held by the node or (holds false) found
        // through the parent, and keeps the holders' lists right.
        void Name(CExtensibleMarkupLanguageDocument* named, bool holds) noexcept;
    };
    enum : std::uintptr_t { kUpDocument = 1, kUpLinks = 2, kUpTags = 3 };
    CExtensibleMarkupLanguageElement* m_ParentNode() const noexcept
    {
        const std::uintptr_t up = m_Up;
        if ((up & kUpTags) == 0) {
            return reinterpret_cast<CExtensibleMarkupLanguageElement*>(up);
        }
        return (up & kUpLinks) != 0 ? reinterpret_cast<const CUpLinks*>(up & ~std::uintptr_t(kUpTags))->parent : nullptr;
    }
    CUpLinks* m_Links() const noexcept
    {
        return (m_Up & kUpLinks) != 0 ? reinterpret_cast<CUpLinks*>(m_Up & ~std::uintptr_t(kUpTags)) : nullptr;
    }
    // The document, found by walking up (what GetDocument answers).
    CExtensibleMarkupLanguageDocument* m_FindDocument() const noexcept;
    // The parse and write options of that document; without one, the
    // defaults (writing single-byte text).
    DWORD m_DocumentParseOptions() const;
    DWORD m_DocumentWriteOptions() const;
    // The document this node's own word names (kUpDocument or kUpLinks),
    // without walking up; null for a plain parent link.
    CExtensibleMarkupLanguageDocument* m_HeldDocument() const noexcept;
    // Sets the parent and document. A CUpLinks holds the document (and is
    // made when the node has none: the only step that throws, std::bad_alloc,
    // before anything changes) when keepLinks is true, the document is not
    // the parent's, or the node has no parent but a document; one that holds
    // a text or heads a list of children taken out is kept in any case.
    void m_LinkUp(CExtensibleMarkupLanguageElement* parent, CExtensibleMarkupLanguageDocument* document,
        bool keepLinks = false);
    // The node's CUpLinks, made for it when it has none (std::bad_alloc,
    // nothing changed), naming what the node's word names.
    CUpLinks& m_MakeLinks();
    // Makes links the node's word, naming the parent and the document.
    void m_UseLinks(CUpLinks* links, CExtensibleMarkupLanguageElement* parent,
        CExtensibleMarkupLanguageDocument* document, bool holds) noexcept;
    // A child taken out of this node joins its list of lent children (both
    // nodes have their CUpLinks), and leaves it when it is added elsewhere or
    // destroyed, or when this node goes (which clears the child's parent).
    void m_Lend(CExtensibleMarkupLanguageElement* child) noexcept;
    void m_Unlend() noexcept;
    // Forgets the parent, keeping a document the node holds itself.
    void m_DropParent() noexcept
    {
        if ((m_Up & kUpTags) == 0) {
            m_Up = 0;
        } else if (CUpLinks* links = m_Links()) {
            links->parent = nullptr;
        }
    }
    // A node made by the parse under this one: its document is this one's.
    void m_LinkToParent(CExtensibleMarkupLanguageElement* parent) noexcept
    {
        m_Up = reinterpret_cast<std::uintptr_t>(parent);
    }
    // The text of the two (tag, contents) that m_Text does not hold: the
    // CUpLinks's, the CDATA section's marker, or an empty one.
    const OrvXml::CNodeText& m_OtherText() const noexcept;
    // The tag or the contents, to be set: m_Text when it holds that text
    // or nothing, else the other text, in a CUpLinks made for it when the
    // node has none (std::bad_alloc, nothing changed).
    OrvXml::CNodeText& m_TagSlot()
    {
        return !m_TextIsContents ? m_Text : m_OtherSlot(false);
    }
    OrvXml::CNodeText& m_ContentsSlot()
    {
        return m_TextIsContents ? m_Text : m_OtherSlot(true);
    }
    OrvXml::CNodeText& m_OtherSlot(bool contents);
    // Whether the node holds neither text (false may still mean both are
    // empty).
    bool m_HoldsNoText() const noexcept
    {
        return m_Text.IsEmpty() && (m_Up & kUpLinks) == 0 && !m_TagIsCDATAMarker;
    }
    // Sets the tag to "[CDATA[" (see m_TagIsCDATAMarker).
    void m_MarkCDATA();
    // Empties both texts.
    void m_EmptyTexts() noexcept;
    // The destructor's step for a node whose word is not a plain parent.
    void m_ReleaseUp() noexcept;
    // The document of the parse running on this thread (one lookup for
    // the whole parse); GetDocument outside a parse.
    CExtensibleMarkupLanguageDocument* m_ParsingDocument() const noexcept;

    // Records the message through m_ReportParsingError and returns false:
    // the failing return of a parsing step.
    bool m_Fail(const CString& message) const;

    // Parsing steps (ExtensibleMarkupLanguageElementParse.cpp).
    bool m_ParseOneNode(const CParsePoint& beginning, CDataParser& parser, bool& open);
    bool m_ParseTextSegment(CDataParser& parser);
    bool m_ParseMarkup(CDataParser& parser, bool& open);
    // m_ParseMarkup for markup other than a start tag of the usual shape.
    bool m_ParseOtherMarkup(CDataParser& parser, bool& open);
    bool m_ReadSimpleStartTag(CDataParser& parser, bool& closed);
    bool m_ReadSimpleDeclaration(std::string_view markup, CDataParser& parser);
    // The end of a node's markup: a node that closed itself is complete
    // (its callbacks run), any other is open for its content.
    bool m_FinishMarkup(bool closed, bool& open);
    // The markup at m_Ending up to its terminator, as single-byte text
    // (see the source); m_Ending moves past it.
    enum class MarkupRead { Read, NotMarkup, Unterminated };
    MarkupRead m_ReadMarkup(CDataParser& parser, std::string& wide, std::string_view& markup);
    // The steps of m_ParseContent; open is the stack of open elements.
    bool m_ParseContent(CDataParser& parser);
    static bool m_EndOfDataInside(std::vector<CExtensibleMarkupLanguageElement*>& open);
    static void m_DropFailed(std::vector<CExtensibleMarkupLanguageElement*>& open, CExtensibleMarkupLanguageElement* node);
    // counting: nodes made count as entity expansion work.
    bool m_ReadChild(DWORD next, CDataParser& parser, bool counting, CExtensibleMarkupLanguageElement*& child, bool& open);
    bool m_AcceptChild(CExtensibleMarkupLanguageElement* child, bool& finished);
    enum class TextChild { Read, Failed, AtEnd };
    TextChild m_ReadTextChild(CDataParser& parser, bool counting);
    // m_ReadTextChild past its white space step.
    TextChild m_ReadText(CDataParser& parser, bool counting);
    bool m_DropsWhiteSpace() const;
    bool m_ReadEndTag(CDataParser& parser);
    // Whether this node is of the library's own class: then its steps are
    // the library's and the parser and writer take their fast paths.
    bool m_IsPlain() const noexcept;
    // Counts one unit of entity expansion work; false, with the error
    // recorded, past kMaximumEntityExpansion.
    bool m_CountEntityWork();
    // Writes the node through its overridable steps (a derived node).
    void m_WriteThroughSteps(CByteArray& bytes) const;
    void m_PutText(std::string_view text, DWORD writeOptions, CByteArray& bytes) const;
    bool m_ParseTagView(std::string_view markup, bool& closed, CDataParser& parser);
    bool m_CheckElementName(std::string_view name);
    // AddAttribute for a name and value read from markup; checkRepeats is
    // false when the caller has checked the name against the others.
    bool m_AddParsedAttribute(std::string_view name, std::string_view value, bool checkRepeats = true);
    void m_ReportRepeatedAttribute(std::string_view name) const;
    bool m_CloseWithEndTag(const CString& found);
    bool m_VerifyEntityReferences(const CExtensibleMarkupLanguageElement* child);
    bool m_RunCallbacks(const char* abortMessage);
    bool m_ParseAttributeList(const char* list, int length, bool isEndTag);
    bool m_ParseComment(const CString& text, CDataParser& parser);
    // The three parts of the XML declaration; each takes its part from the
    // front of the text.
    bool m_ReadVersionInfo(std::string_view& text);
    bool m_ReadEncodingDecl(std::string_view& text);
    bool m_ReadSDDecl(std::string_view& text);
    bool m_ParseProcessingInstructionTag(std::string_view text, bool& closed, CDataParser& parser);
    // m_ParseXMLDeclaration on a view of the text.
    bool m_ReadXMLDeclaration(std::string_view declaration);
    bool m_ParseBangTag(const CString& text, const CString& name, bool& closed, CDataParser& parser);
    bool m_ParseENTITYSection(const CString& text, CDataParser& parser);
    bool m_ReadDOCTYPESubset(DWORD bracket, CDataParser& parser);
    bool m_RefuseEndTagChild(CExtensibleMarkupLanguageElement* child);
    bool m_ReadPEReference(CParsePoint& point, CDataParser& parser);
    bool m_ParseTrickyElement(const CString& replacement);
    void m_DeleteChild(CExtensibleMarkupLanguageElement* child);
    // Takes child out of the children; false when it is not among them.
    bool m_TakeOut(CExtensibleMarkupLanguageElement* child) noexcept;
    // Appends a node just created to the parent's children; when that
    // fails the node is deleted and the exception passed on.
    static void m_AppendNew(CExtensibleMarkupLanguageElement* parent, CExtensibleMarkupLanguageElement* element)
    {
        try {
            parent->m_Children.Add(element);
        } catch (...) {
            delete element;
            throw;
        }
    }
    // A complete text segment appended to the parent, its contents held in
    // the same allocation as the node. Throws std::bad_alloc.
    static CExtensibleMarkupLanguageElement* m_NewTextSegment(
        CExtensibleMarkupLanguageElement* parent, std::string_view text);
    // Sets text, a text of this node that holds nothing, to a copy of value
    // placed right after the node when the node is the last object the
    // parse's arena made; otherwise as an assignment does. Throws
    // std::bad_alloc.
    void m_SetTextAfterNode(OrvXml::CNodeText& text, std::string_view value)
    {
        if (OrvXml::CNodeText::FitsInline(value.size()) && text.IsEmpty()) {
            text.SetInlineOnEmpty(value.data(), value.size());
        } else {
            m_SetLongTextAfterNode(text, value);
        }
    }
    void m_SetLongTextAfterNode(OrvXml::CNodeText& text, std::string_view value);
    // A node of the library's own class with tail bytes after it, in one
    // allocation without a header word (nodes are many, and each word of
    // theirs counts). Throws std::bad_alloc.
    static CExtensibleMarkupLanguageElement* m_Make(std::size_t tail = 0)
    {
        std::uint16_t place = 0;
        void* memory = OrvXml::AllocateBareNode(sizeof(CExtensibleMarkupLanguageElement) + tail, place);
        auto* element = ::new (memory) CExtensibleMarkupLanguageElement;
        element->m_Place = place;
        return element;
    }

    // The way up from a node is one word, since nodes are many: the parent
    // itself for a node whose document is its parent's (every node a parse
    // makes); tagged kUpDocument, its document for a document's root (0 for
    // a node with neither parent nor document); tagged kUpLinks, a CUpLinks
    // of the node's own. That holds the parent and the document for a node
    // whose document cannot be found through a parent: one taken out with
    // RemoveChild (it keeps both), one given another document with
    // SetDocument, one made with a document but without a parent; the
    // parent alone for a node that needs the record only for its second
    // text (see m_Text) or for the children taken out of it.
    // GetDocument walks up to the first word that names a document.
    std::uintptr_t m_Up = 0;
    OrvXml::CNodeList<CExtensibleMarkupLanguageElement*> m_Children;
    OrvXml::CNodeList<CExtensibleMarkupLanguageAttribute*> m_Attributes;
    // The node's tag or its contents (m_TextIsContents tells which): most
    // nodes hold only one of them (an element its tag, a text or comment
    // its contents), so the other one, when it is not empty, lives in the
    // node's CUpLinks (see m_OtherText). A text segment read by the parser
    // holds its contents right after itself (see m_NewTextSegment).
    OrvXml::CNodeText m_Text;
    CParsePoint m_Beginning;
    CParsePoint m_Ending;
    // One of _ElementTypes, which all fit a byte.
    BYTE m_Type = typeUnknown;
    bool m_IsDone = false;
    bool m_IsTagEmpty = false;
    // The less used flags share a byte, leaving room for m_Place.
    bool m_IsAllWhiteSpace : 1 = false;
    bool m_AbortParsing : 1 = false;
    // Taken out of its parent's children with RemoveChild while still
    // naming that parent: the node is in the parent's list of lent children.
    bool m_Detached : 1 = false;
    // The root a document made and owns, whatever document it names later.
    bool m_IsDocumentRoot : 1 = false;
    // The tag is "[CDATA[", which every CDATA section read has, held by
    // no text (see m_OtherText).
    bool m_TagIsCDATAMarker : 1 = false;
    // See m_Text.
    bool m_TextIsContents = false;
    // Where the library made the node (see m_Make): the place code of its
    // bare allocation; 0 for a node made by operator new.
    std::uint16_t m_Place = 0;
    // The bytes allocated after this node for its texts, when it was
    // created with them (see m_NewTextSegment) or they were placed there
    // later (m_SetTextAfterNode); 0 when there are none or, for a node too
    // large for the parse's blocks, when they do not fit.
    std::uint16_t m_ContentsTail = 0;
};
