// CExtensibleMarkupLanguageDocument: options, entities, callbacks, the error
// record, copying and writing. Parsing is in ExtensibleMarkupLanguageDocumentParse.cpp.
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include "xml/XmlParseSupport.h"

#include <string>

using Element = CExtensibleMarkupLanguageElement;

CExtensibleMarkupLanguageDocument::CExtensibleMarkupLanguageDocument()
{
    m_InitializeEntities();
    m_InitializeRootElement();
}

CExtensibleMarkupLanguageDocument::CExtensibleMarkupLanguageDocument(const CExtensibleMarkupLanguageDocument& source)
    : CExtensibleMarkupLanguageDocument()
{
    Copy(source);
}

CExtensibleMarkupLanguageDocument::~CExtensibleMarkupLanguageDocument()
{
    // Nodes that hold this document in their own word keep none.
    while (m_FirstHolder != nullptr) {
        m_FirstHolder->Name(nullptr, true);
    }
    Element::DeleteElement(m_XML);
}

void CExtensibleMarkupLanguageDocument::m_InitializeRootElement()
{
    Element::DeleteElement(m_XML);
    m_XML = nullptr;
    m_XML = m_NewRoot();
}

// The root belongs to the document, which destroys it: unlike other nodes
// made without a parent, it is not kept among the detached nodes.
Element* CExtensibleMarkupLanguageDocument::m_NewRoot()
{
    auto* root = Element::m_Make();
    root->SetType(Element::typeProcessingInstruction);
    root->m_Up = reinterpret_cast<std::uintptr_t>(this) | Element::kUpDocument;
    root->m_IsDocumentRoot = true;
    return root;
}

namespace {

// The five predefined entities, built once and copied into every document.
const CExtensibleMarkupLanguageEntities& PredefinedEntities()
{
    static const CExtensibleMarkupLanguageEntities table = [] {
        CExtensibleMarkupLanguageEntities entities;
        entities.Add("&amp;", "&");
        entities.Add("&apos;", "'");
        entities.Add("&gt;", ">");
        entities.Add("&lt;", "<");
        entities.Add("&quot;", "\"");
        return entities;
    }();
    return table;
}

} // namespace

void CExtensibleMarkupLanguageDocument::m_InitializeEntities()
{
    m_Entities.Copy(PredefinedEntities());
}

void CExtensibleMarkupLanguageDocument::m_RemoveAllCallbacks()
{
    m_Callbacks.RemoveAll();
}

bool CExtensibleMarkupLanguageDocument::AddEntity(const CString& reference, const CString& text)
{
    if ((m_ParseOptions & parseAllowRedefinitionOfPredefinedEntities) == 0
        && OrvXml::IsPredefinedReference(OrvXml::View(reference))) {
        return false;
    }
    return m_Entities.Add(reference, text);
}

void CExtensibleMarkupLanguageDocument::Append(const CExtensibleMarkupLanguageDocument& source)
{
    const Element* other = source.m_XML;
    if (other == nullptr || m_XML == nullptr) {
        return;
    }
    // Count first: appending a document to itself must copy only the nodes
    // it held at the start.
    const DWORD count = other->GetNumberOfChildren();
    for (DWORD i = 0; i < count; ++i) {
        const Element* child = other->m_Children.GetData()[i];
        Element* copy = Element::NewElement(m_XML, child->GetType(), this);
        copy->Copy(*child);
    }
}

void CExtensibleMarkupLanguageDocument::Copy(const CExtensibleMarkupLanguageDocument& source)
{
    if (&source == this) {
        return;
    }
    Empty();
    if (source.m_XML != nullptr) {
        m_XML->Copy(*source.m_XML);
    }
}

void CExtensibleMarkupLanguageDocument::CopyCallbacks(const CExtensibleMarkupLanguageDocument& source)
{
    if (&source == this) {
        return;
    }
    m_RemoveAllCallbacks();
    for (int i = 0; i < source.m_Callbacks.GetSize(); ++i) {
        const XML_ELEMENT_CALLBACK_RECORD& record = source.m_Callbacks[i];
        AddCallback(record.m_Name, record.m_Function, record.m_Parameter);
    }
}

DWORD CExtensibleMarkupLanguageDocument::CountElements(const CString& path) const
{
    return m_XML != nullptr ? m_XML->CountChildren(path) : 0;
}

void CExtensibleMarkupLanguageDocument::Empty()
{
    m_RemoveAllCallbacks();
    m_Entities.Empty();
    m_ClearError();
    Element::DeleteElement(m_XML);
    m_XML = nullptr;
    m_IgnoreWhiteSpace = false;
    m_ParseOptions = parseDefault;
    m_WriteOptions = writeDefault;
    m_Encoding.Empty();
    m_Version.Empty();
    m_IsStandalone = true;
    m_InitializeEntities();
    m_InitializeRootElement();
}

CExtensibleMarkupLanguageElement* CExtensibleMarkupLanguageDocument::GetElement(const CString& path) const
{
    return m_XML != nullptr ? m_XML->GetChild(path) : nullptr;
}

void CExtensibleMarkupLanguageDocument::GetAutomaticIndentation(bool& automatic, DWORD& level, DWORD& indentBy) const
{
    automatic = m_AutomaticIndentation;
    level = m_IndentationLevel;
    indentBy = m_IndentBy;
}

void CExtensibleMarkupLanguageDocument::GetEncoding(CString& encoding) const
{
    encoding = (m_WriteOptions & writeUnicode) != 0 ? CString("UTF-16") : m_Encoding;
}

const CExtensibleMarkupLanguageEntities& CExtensibleMarkupLanguageDocument::GetEntities() const
{
    return m_Entities;
}

bool CExtensibleMarkupLanguageDocument::GetIgnoreWhiteSpace() const { return m_IgnoreWhiteSpace; }

DWORD CExtensibleMarkupLanguageDocument::GetNumberOfElements() const
{
    return m_XML != nullptr ? m_XML->GetTotalNumberOfChildren() : 0;
}

char CExtensibleMarkupLanguageDocument::GetParentChildSeparatorCharacter() const { return m_ParentChildSeparator; }
DWORD CExtensibleMarkupLanguageDocument::GetParseOptions() const { return m_ParseOptions; }

void CExtensibleMarkupLanguageDocument::GetParsingErrorInformation(CString& tag, CParsePoint& beginning,
    CParsePoint& location, CString* message) const
{
    tag = m_ErrorTag;
    beginning = m_ErrorBeginning;
    location = m_ErrorLocation;
    if (message != nullptr) {
        *message = m_ErrorMessage;
    }
}

CExtensibleMarkupLanguageElement* CExtensibleMarkupLanguageDocument::GetRootElement() const { return m_XML; }
void CExtensibleMarkupLanguageDocument::GetVersion(CString& version) const { version = m_Version; }
DWORD CExtensibleMarkupLanguageDocument::GetWriteOptions() const { return m_WriteOptions; }
bool CExtensibleMarkupLanguageDocument::IsStandalone() const { return m_IsStandalone; }

bool CExtensibleMarkupLanguageDocument::ResolveEntity(const CString& reference, CString& text) const
{
    return m_Entities.Resolve(reference, text);
}

void CExtensibleMarkupLanguageDocument::SetAutomaticIndentation(bool automatic, DWORD level, DWORD indentBy)
{
    m_AutomaticIndentation = automatic;
    m_IndentationLevel = level;
    m_IndentBy = indentBy;
}

bool CExtensibleMarkupLanguageDocument::SetConversionCodePage(DWORD codePage)
{
    if (!OrvXml::IsSupportedCodePage(codePage)) {
        return false;
    }
    m_ConversionCodePage = codePage;
    return true;
}
void CExtensibleMarkupLanguageDocument::SetEncoding(const CString& encoding) { m_Encoding = encoding; }

bool CExtensibleMarkupLanguageDocument::SetIgnoreWhiteSpace(bool ignore)
{
    const bool previous = m_IgnoreWhiteSpace;
    m_IgnoreWhiteSpace = ignore;
    return previous;
}

bool CExtensibleMarkupLanguageDocument::SetParentChildSeparatorCharacter(char separator)
{
    if (separator == '\0') {
        return false;
    }
    m_ParentChildSeparator = separator;
    return true;
}

DWORD CExtensibleMarkupLanguageDocument::SetParseOptions(DWORD options)
{
    const DWORD previous = m_ParseOptions;
    m_ParseOptions = options;
    return previous;
}

void CExtensibleMarkupLanguageDocument::SetParsingErrorInformation(const CString& tag, const CParsePoint& beginning,
    const CParsePoint& location, const CString* message)
{
    if (m_ErrorRecorded) {
        return;
    }
    // The flag is set last, so a record that could not be stored for want
    // of memory leaves room for the report of that failure.
    m_ErrorTag = tag;
    m_ErrorBeginning = beginning;
    m_ErrorLocation = location;
    if (message != nullptr) {
        m_ErrorMessage = *message;
    }
    m_ErrorRecorded = true;
}

void CExtensibleMarkupLanguageDocument::SetStandalone(bool standalone) { m_IsStandalone = standalone; }
void CExtensibleMarkupLanguageDocument::SetVersion(const CString& version) { m_Version = version; }

DWORD CExtensibleMarkupLanguageDocument::SetWriteOptions(DWORD options)
{
    const DWORD previous = m_WriteOptions;
    m_WriteOptions = options;
    return previous;
}

void CExtensibleMarkupLanguageDocument::WriteTo(CByteArray& bytes) const
{
    if (m_XML == nullptr) {
        return;
    }
    if ((m_WriteOptions & writeRootChildrenOnly) != 0) {
        m_XML->m_AppendChildren(bytes);
        return;
    }
    if ((m_WriteOptions & writeUnicode) != 0) {
        const bool bigEndian = (m_WriteOptions & writeBigEndian) != 0;
        bytes.Add(bigEndian ? 0xFE : 0xFF);
        bytes.Add(bigEndian ? 0xFF : 0xFE);
    }
    m_XML->WriteTo(bytes);
}

// --- Callbacks ---

bool CExtensibleMarkupLanguageDocument::AddCallback(const CString& elementName, XML_ELEMENT_CALLBACK function,
    void* parameter)
{
    if (elementName.IsEmpty() || function == nullptr) {
        return false;
    }
    for (int i = 0; i < m_Callbacks.GetSize(); ++i) {
        const XML_ELEMENT_CALLBACK_RECORD& record = m_Callbacks[i];
        if (record.m_Name == elementName && record.m_Function == function && record.m_Parameter == parameter) {
            return false;
        }
    }
    XML_ELEMENT_CALLBACK_RECORD record;
    record.m_Name = elementName;
    record.m_Function = function;
    record.m_Parameter = parameter;
    m_Callbacks.Add(record);
    return true;
}

bool CExtensibleMarkupLanguageDocument::EnumerateCallbacks(DWORD& index) const
{
    index = 0;
    return m_Callbacks.GetSize() > 0;
}

void CExtensibleMarkupLanguageDocument::ExecuteCallbacks(CExtensibleMarkupLanguageElement* element) const
{
    if (element == nullptr || m_Callbacks.IsEmpty()) {
        return;
    }
    const OrvXml::CNodeText& tag = element->Tag();
    // A callback may add or remove callbacks; walk a snapshot so that the
    // records called are those held when the element completed.
    const CArray<XML_ELEMENT_CALLBACK_RECORD> records(m_Callbacks);
    for (int i = 0; i < records.GetSize(); ++i) {
        const XML_ELEMENT_CALLBACK_RECORD& record = records[i];
        if (record.m_Name == tag) {
            record.m_Function(record.m_Parameter, element);
        }
    }
}

bool CExtensibleMarkupLanguageDocument::GetNextCallback(DWORD& index, CString& elementName,
    XML_ELEMENT_CALLBACK& function, void*& parameter) const
{
    if (index >= DWORD(m_Callbacks.GetSize())) {
        return false;
    }
    const XML_ELEMENT_CALLBACK_RECORD& record = m_Callbacks[int(index)];
    elementName = record.m_Name;
    function = record.m_Function;
    parameter = record.m_Parameter;
    ++index;
    return true;
}

bool CExtensibleMarkupLanguageDocument::RemoveCallback(const CString& elementName, XML_ELEMENT_CALLBACK function,
    void* parameter)
{
    for (int i = m_Callbacks.GetSize() - 1; i >= 0; --i) {
        const XML_ELEMENT_CALLBACK_RECORD& record = m_Callbacks[i];
        if (record.m_Name == elementName && record.m_Function == function && record.m_Parameter == parameter) {
            m_Callbacks.RemoveAt(i);
        }
    }
    return true;
}

CExtensibleMarkupLanguageDocument& CExtensibleMarkupLanguageDocument::operator=(const CExtensibleMarkupLanguageDocument& source)
{
    Copy(source);
    return *this;
}

CExtensibleMarkupLanguageDocument& CExtensibleMarkupLanguageDocument::operator+=(const CExtensibleMarkupLanguageDocument& source)
{
    Append(source);
    return *this;
}
