// CExtensibleMarkupLanguageDocument: an XML document, its root node, its
// entity table, the options of parsing and writing, the parse callbacks and
// the record of the first parse error.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"
#include "xml/DataParser.h"
#include "xml/ExtensibleMarkupLanguageElement.h"
#include "xml/ExtensibleMarkupLanguageEntities.h"

// Called during a parse for each completed node whose tag equals the name
// the callback was registered with.
using XML_ELEMENT_CALLBACK = void (*)(void* parameter, CExtensibleMarkupLanguageElement* element);

struct XML_ELEMENT_CALLBACK_RECORD {
    CString m_Name;
    XML_ELEMENT_CALLBACK m_Function = nullptr;
    void* m_Parameter = nullptr;
};

class ORV_API CExtensibleMarkupLanguageDocument {
public:
    enum _ParseOptions : DWORD {
        parseAcceptUpperCaseXMLDeclaration = 0x01,
        parseAllowRedefinitionOfPredefinedEntities = 0x02,
        parseDropWhiteSpaceAndVerifyEntities = 0x08,
        parseAcceptNoXMLDeclaration = 0x10,
        parseOnlyOneElement = 0x20,
        parseReadUntilCommentTerminator = 0x40,
        parseKeepWhiteSpaceAndUnverifiedEntities = 0x80,
        parseDefault = parseAcceptNoXMLDeclaration,
    };
    enum _WriteOptions : DWORD {
        writeRootChildrenOnly = 0x02,
        writeUnicode = 0x04,
        writeBigEndian = 0x08,
        writeUCS4 = 0x10,
        writeUCS4_2143 = 0x20,
        writeUCS4_3412 = 0x40,
        writeSingleByte = 0x80,
        writeCodePage = 0x100,
        writeDefault = writeSingleByte,
    };

    CExtensibleMarkupLanguageDocument();
    // Copies the other's tree only; options, entities and callbacks start
    // at their defaults.
    CExtensibleMarkupLanguageDocument(const CExtensibleMarkupLanguageDocument& source);
    virtual ~CExtensibleMarkupLanguageDocument();

    // Refuses the five predefined references unless parse option 0x02 is set.
    virtual bool AddEntity(const CString& reference, const CString& text);
    // Appends a copy of each top-level node of the other document.
    virtual void Append(const CExtensibleMarkupLanguageDocument& source);
    virtual void Copy(const CExtensibleMarkupLanguageDocument& source);
    virtual void CopyCallbacks(const CExtensibleMarkupLanguageDocument& source);
    virtual DWORD CountElements(const CString& path) const;
    virtual void Empty();
    virtual CExtensibleMarkupLanguageElement* GetElement(const CString& path) const;
    virtual void GetAutomaticIndentation(bool& automatic, DWORD& level, DWORD& indentBy) const;
    virtual void GetEncoding(CString& encoding) const;
    virtual const CExtensibleMarkupLanguageEntities& GetEntities() const;
    virtual bool GetIgnoreWhiteSpace() const;
    virtual DWORD GetNumberOfElements() const;
    virtual char GetParentChildSeparatorCharacter() const;
    virtual DWORD GetParseOptions() const;
    virtual void GetParsingErrorInformation(CString& tag, CParsePoint& beginning, CParsePoint& location,
        CString* message = nullptr) const;
    virtual CExtensibleMarkupLanguageElement* GetRootElement() const;
    virtual void GetVersion(CString& version) const;
    virtual DWORD GetWriteOptions() const;
    virtual bool IsStandalone() const;
    // Reads the whole buffer into this document. False, with the first
    // error in the error record, when the data breaks the rules.
    virtual bool Parse(CDataParser& parser);
    virtual bool ResolveEntity(const CString& reference, CString& text) const;
    virtual void SetAutomaticIndentation(bool automatic = true, DWORD level = 0, DWORD indentBy = 2);
    // False, keeping the code page held, for one that cannot be written:
    // natively UTF-8 (65001), 1250 to 1258 and 28591 are.
    virtual bool SetConversionCodePage(DWORD codePage);
    virtual void SetEncoding(const CString& encoding);
    // Both return the previous value.
    virtual bool SetIgnoreWhiteSpace(bool ignore);
    // A zero character is refused.
    virtual bool SetParentChildSeparatorCharacter(char separator);
    virtual DWORD SetParseOptions(DWORD options);
    // Stores a record only while none is held.
    virtual void SetParsingErrorInformation(const CString& tag, const CParsePoint& beginning,
        const CParsePoint& location, const CString* message = nullptr);
    virtual void SetStandalone(bool standalone);
    virtual void SetVersion(const CString& version);
    virtual DWORD SetWriteOptions(DWORD options);
    virtual void WriteTo(CByteArray& bytes) const;
    virtual bool AddCallback(const CString& elementName, XML_ELEMENT_CALLBACK function, void* parameter);
    virtual bool EnumerateCallbacks(DWORD& index) const;
    virtual void ExecuteCallbacks(CExtensibleMarkupLanguageElement* element) const;
    virtual bool GetNextCallback(DWORD& index, CString& elementName, XML_ELEMENT_CALLBACK& function,
        void*& parameter) const;
    virtual bool RemoveCallback(const CString& elementName, XML_ELEMENT_CALLBACK function, void* parameter);
    virtual CExtensibleMarkupLanguageDocument& operator=(const CExtensibleMarkupLanguageDocument& source);
    virtual CExtensibleMarkupLanguageDocument& operator+=(const CExtensibleMarkupLanguageDocument& source);

    DWORD GetConversionCodePage() const noexcept { return m_ConversionCodePage; }
    bool HasParsingError() const noexcept { return m_ErrorRecorded; }

protected:
    virtual void m_InitializeRootElement();
    virtual void m_InitializeEntities();
    virtual void m_RemoveAllCallbacks();

private:
    friend class CExtensibleMarkupLanguageElement;

    CExtensibleMarkupLanguageElement* m_NewRoot();
    // Parse steps (ExtensibleMarkupLanguageDocumentParse.cpp).
    void m_ClearError();
    void m_ReportError(const char* message);
    bool m_Parse(CDataParser& parser);
    bool m_DetectEncoding(CDataParser& parser, CParsePoint& start);
    bool m_SkipWhiteSpace(CDataParser& parser, CParsePoint& point);
    bool m_ParseWithDeclaration(CDataParser& parser, const CParsePoint& start);
    bool m_ParseWithoutDeclaration(CDataParser& parser, const CParsePoint& start);
    void m_SetDefaultDeclaration();
    bool m_CheckOnlyOneElement();
    // The table that entity declarations met while parsing add to.
    CExtensibleMarkupLanguageEntities& m_MutableEntities() noexcept { return m_Entities; }

    CExtensibleMarkupLanguageElement* m_XML = nullptr;
    // The first of the records of the nodes that name this document in
    // their own word (see CUpLinks of the element), other than the root:
    // nodes of other trees, nodes taken out of a tree, nodes made without a
    // parent. The document clears them when it goes first.
    CExtensibleMarkupLanguageElement::CUpLinks* m_FirstHolder = nullptr;
    CArray<XML_ELEMENT_CALLBACK_RECORD> m_Callbacks;
    CExtensibleMarkupLanguageEntities m_Entities;
    bool m_IgnoreWhiteSpace = false;
    bool m_AutomaticIndentation = false;
    DWORD m_IndentationLevel = 0;
    DWORD m_IndentBy = 0;
    DWORD m_ParseOptions = parseDefault;
    DWORD m_WriteOptions = writeDefault;
    bool m_ErrorRecorded = false;
    CParsePoint m_ErrorBeginning;
    CParsePoint m_ErrorLocation;
    CString m_ErrorTag;
    CString m_ErrorMessage;
    CString m_Encoding;
    bool m_IsStandalone = true;
    CString m_Version;
    char m_ParentChildSeparator = '.';
    DWORD m_ConversionCodePage = 65001;
};
