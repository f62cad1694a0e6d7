// The markup that is not an element: processing instructions and the XML
// declaration, comments, CDATA sections, and the ENTITY and other "<!"
// declarations. The DOCTYPE reader is in ExtensibleMarkupLanguageElementDoctype.cpp.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlParseSupport.h"

#include <algorithm>
#include <cstring>

using Element = CExtensibleMarkupLanguageElement;
using Document = CExtensibleMarkupLanguageDocument;
using namespace OrvXml;

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool AllIn(std::string_view text, const char* set, std::size_t& bad) noexcept
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0' || std::strchr(set, text[i]) == nullptr) {
            bad = i;
            return false;
        }
    }
    return true;
}

const char kNameSet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.:";

// The messages of one quoted value of the XML declaration, in the order the
// checks run.
struct DeclarationMessages {
    const char* truncated;
    const char* missingEquals;
    const char* missingValue;
    const char* badDelimiter;
    const char* missingDelimiter;
    const char* empty;
};

const DeclarationMessages kVersionMessages = {
    "Truncated VersionInfo (Rule 24).",
    "Ill-formed VersionInfo missing = character (Rule 24).",
    "Ill-formed VersionInfo, missing VersionNum (Rule 24).",
    "Illegal VersionNum delimiter, must be a single or double quote (Rule 24).",
    "VersionNum missing matching delimiter (Rule 24).",
    "Empty VersionNum not allowed (Rule 26).",
};
const DeclarationMessages kEncodingMessages = {
    "Truncated EncodingDecl (Rule 80).",
    "Ill-formed EncodingDecl missing = character (Rule 80).",
    "Ill-formed EncodingDecl, missing EncName (Rule 80).",
    "Illegal EncName delimiter, must be a single or double quote (Rule 80).",
    "EncName missing matching delimiter (Rule 80).",
    "Empty EncName not allowed (Rule 81).",
};
const DeclarationMessages kStandaloneMessages = {
    "Truncated SDDecl (Rule 32).",
    "Ill-formed SDDecl missing = character (Rule 32).",
    "Ill-formed SDDecl, missing data (Rule 32).",
    "Illegal SDDecl delimiter, must be a single or double quote (Rule 32).",
    "SDDecl missing matching delimiter (Rule 32).",
    "Empty SDDecl not allowed (Rule 32).",
};

// Reads ` = "value"` after a keyword. On failure, message names the rule
// broken; text is left after the closing delimiter on success.
bool ReadDeclarationValue(std::string_view& text, const DeclarationMessages& messages, std::string_view& value,
    const char*& message)
{
    text = TrimLeft(text);
    if (text.empty()) {
        message = messages.truncated;
        return false;
    }
    if (text.front() != '=') {
        message = messages.missingEquals;
        return false;
    }
    text = TrimLeft(text.substr(1));
    if (text.empty()) {
        message = messages.missingValue;
        return false;
    }
    const char quote = text.front();
    if (!IsQuote(quote)) {
        message = messages.badDelimiter;
        return false;
    }
    const std::size_t close = text.find(quote, 1);
    if (close == std::string_view::npos) {
        message = messages.missingDelimiter;
        return false;
    }
    value = text.substr(1, close - 1);
    if (value.empty()) {
        message = messages.empty;
        return false;
    }
    text = text.substr(close + 1);
    return true;
}

} // namespace

// --- Processing instructions ---

bool Element::m_ParseProcessingInstructionTag(std::string_view text, bool& closed, CDataParser& parser)
{
    m_Type = typeProcessingInstruction;
    // The contents lie between "<?" and "?>" (none for a text too short
    // to hold both).
    const auto contentsOf = [](std::string_view full) {
        const std::size_t first = std::min<std::size_t>(2, full.size());
        const std::size_t count = full.size() >= 4 ? full.size() - 4 : 0;
        return full.substr(first, std::min(count, full.size() - first));
    };
    if (text.find("?>") == std::string_view::npos) {
        CString more;
        if (!parser.GetUntilAndIncluding(m_Ending, CString("?>"), more)) {
            return m_Fail("Processing instruction is not terminated with ?> (Rule 16)");
        }
        CString full = ToCString(text);
        full += more;
        m_ContentsSlot() = contentsOf(View(full));
    } else {
        m_ContentsSlot() = contentsOf(text);
    }
    closed = !IsRoot();
    return m_ParseProcessingInstruction();
}

bool Element::m_ParseProcessingInstruction()
{
    if (Contents().IsEmpty()) {
        return m_Fail("The processing instruction cannot be empty (Rule 16).");
    }
    // Only the target "xml" itself (any case) makes a declaration;
    // xml-stylesheet and the like are processing instructions.
    const std::string_view contents = View(Contents());
    if (StartsWithNoCase(contents, "xml") && (contents.size() == 3 || IsXmlSpace(contents[3]))) {
        // A node of the library's own class reads the declaration in place.
        return m_IsPlain() ? m_ReadXMLDeclaration(View(Contents())) : m_ParseXMLDeclaration(Contents().ToCString());
    }
    static const char kFirst[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_:";
    if (Contents()[0] == '\0' || std::strchr(kFirst, Contents()[0]) == nullptr) {
        return m_Fail("Illegal first character in processing instruction (Rule 16->5).");
    }
    return true;
}

// The XML declaration: the name, then its three parts in order. Each part
// reads from the text left by the one before and reports the first fault.
bool Element::m_ParseXMLDeclaration(const CString& declaration)
{
    return m_ReadXMLDeclaration(View(declaration));
}

bool Element::m_ReadXMLDeclaration(std::string_view declaration)
{
    const DWORD options = m_DocumentParseOptions();
    std::string_view text = TrimLeft(declaration);
    if ((options & Document::parseAcceptUpperCaseXMLDeclaration) == 0 && !StartsWith(text, "xml")) {
        return m_Fail("The xml declaration must be lower case (Rule 23).");
    }
    if (!IsRoot()) {
        return m_Fail("There can be only one prolog (Rule 1).");
    }
    text = text.substr(3);
    return m_ReadVersionInfo(text) && m_ReadEncodingDecl(text) && m_ReadSDDecl(text);
}

bool Element::m_ReadVersionInfo(std::string_view& text)
{
    text = TrimLeft(text);
    if (text.size() < 7) {
        return m_Fail("Missing VersionInfo data (Rule 23).");
    }
    if (!StartsWith(text, "version")) {
        return m_Fail("The VersionInfo must be lower case (Rule 23).");
    }
    text.remove_prefix(7);
    const char* message = nullptr;
    std::string_view value;
    if (!ReadDeclarationValue(text, kVersionMessages, value, message)) {
        return m_Fail(message);
    }
    std::size_t bad = 0;
    if (!AllIn(value, kNameSet, bad)) {
        CString report;
        report.Format("Character %d (decimal %d) of the \"version\" attribute is illegal (Rule 26).", int(bad),
            int(static_cast<signed char>(value[bad])));
        return m_Fail(report);
    }
    if (Document* const document = m_FindDocument()) {
        document->SetVersion(ToCString(value));
    }
    return true;
}

// Optional: text that does not begin with "encoding" is left for the
// standalone part.
bool Element::m_ReadEncodingDecl(std::string_view& text)
{
    text = TrimLeft(text);
    if (text.empty()) {
        return true;
    }
    if (text.size() < 8) {
        return m_Fail("Not enough room left to parse (Rule 23).");
    }
    if (!StartsWith(text, "encoding")) {
        return true;
    }
    text.remove_prefix(8);
    const char* message = nullptr;
    std::string_view value;
    if (!ReadDeclarationValue(text, kEncodingMessages, value, message)) {
        return m_Fail(message);
    }
    if (!IsLetterByte(value[0])) {
        return m_Fail("Illegal first character in EncName (Rule 81).");
    }
    static const char kEncodingSet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-";
    std::size_t bad = 0;
    if (!AllIn(value, kEncodingSet, bad)) {
        CString report;
        report.Format("Character %d is illegal in EncName of \"%s\" (Rule 81).", int(bad + 1),
            ToCString(value).GetString());
        return m_Fail(report);
    }
    if (Document* const document = m_FindDocument()) {
        document->SetEncoding(ToCString(value));
    }
    return true;
}

// Optional, and the last part: nothing may follow it.
bool Element::m_ReadSDDecl(std::string_view& text)
{
    text = TrimLeft(text);
    if (text.empty()) {
        return true;
    }
    if (text.size() < 10) {
        return m_Fail("Not enough room left to parse SDDecl (Rule 32).");
    }
    if (StartsWith(text, "standalone")) {
        text.remove_prefix(10);
        const char* message = nullptr;
        std::string_view value;
        if (!ReadDeclarationValue(text, kStandaloneMessages, value, message)) {
            return m_Fail(message);
        }
        if (value != "yes" && value != "no") {
            return m_Fail("Illegal value for SDDecl, it must me lower case \"yes\" or \"no\" (Rule 32).");
        }
        if (Document* const document = m_FindDocument()) {
            document->SetStandalone(value == "yes");
        }
        text = TrimLeft(text);
    }
    if (!text.empty()) {
        return m_Fail("Extra characters after SDDecl (Rule 23).");
    }
    return true;
}

// --- "<!" markup ---

bool Element::m_ParseBangTag(const CString& text, const CString& name, bool& closed, CDataParser& parser)
{
    const std::string_view tag = View(name);
    if (tag.size() < 3) {
        return m_Fail("META tag is too short.");
    }
    if (tag[1] == '-' && tag[2] == '-') {
        m_Type = typeComment;
        closed = true;
        return m_ParseComment(text, parser);
    }
    if (tag[1] == '[' && (tag[2] == 'C' || tag[2] == 'c')) {
        if (tag.size() <= 8) {
            return m_Fail("Ill formed CDATA section (Rule 19).");
        }
        if (StartsWith(tag, "![CDATA[")) {
            if (!m_ParseCDATASection(text, parser)) {
                return m_Fail("Bad CDATA section (Rule 20).");
            }
            closed = true;
            return true;
        }
    } else if (StartsWith(tag, "!ENTITY")) {
        m_Type = typeMetaData;
        closed = true;
        return m_ParseENTITYSection(text, parser);
    } else if (StartsWith(tag, "!DOCTYPE")) {
        m_Type = typeMetaData;
        closed = true;
        return m_ParseDOCTYPESection(text, parser);
    }
    // Any other declaration (ELEMENT, ATTLIST, NOTATION...) is kept as it
    // stands: its keyword as the tag, the rest of its text as the contents.
    m_Type = typeMetaData;
    closed = true;
    std::string_view rest = View(text).substr(1 + tag.size());
    if (!rest.empty() && rest.back() == '>') {
        rest.remove_suffix(1);
    }
    m_TagSlot() = tag.substr(1);
    m_ContentsSlot() = Trim(rest);
    return true;
}

bool Element::m_ParseComment(const CString& text, CDataParser& parser)
{
    CString contents = text.Mid(4);
    const DWORD options = m_DocumentParseOptions();
    if ((options & Document::parseReadUntilCommentTerminator) != 0 && contents.Find("-->") < 0) {
        CString more;
        if (!parser.GetUntilAndIncluding(m_Ending, CString("-->"), more)) {
            return m_Fail("Comment is missing the --> terminator (Rule 15).");
        }
        contents += more;
    }
    const int dashes = contents.Find("--");
    if (dashes < 0) {
        return m_Fail("Comment is missing the -- terminator (Rule 15).");
    }
    if (dashes + 2 >= contents.GetLength() || contents[dashes + 2] != '>') {
        return m_Fail("Comment contains illegal double dashes (Rule 15).");
    }
    m_ContentsSlot() = contents.Left(dashes);
    return true;
}

bool Element::m_ParseCDATASection(const CString& text, CDataParser& parser)
{
    const std::string_view markup = View(text);
    if (markup.size() < 12 || !StartsWith(markup, "<![CDATA[") || markup.substr(markup.size() - 3) != "]]>") {
        return false;
    }
    m_Type = typeCDATASection;
    m_MarkCDATA();
    std::string contents(markup.substr(9, markup.size() - 12));
    // "]]>" straight after a closing "]]>" stands for a literal "]]>".
    while (parser.GetCharacter(m_Ending, 0) == ']' && parser.GetCharacter(m_Ending, 1) == ']'
        && parser.GetCharacter(m_Ending, 2) == '>') {
        DWORD skipped = 0;
        for (int i = 0; i < 3; ++i) {
            parser.GetNextCharacter(m_Ending, skipped);
        }
        CString more;
        if (!parser.GetUntilAndIncluding(m_Ending, CString("]]>"), more)) {
            return false;
        }
        contents += "]]>";
        contents.append(more.GetString(), std::size_t(more.GetLength() - 3));
    }
    m_ContentsSlot() = contents;
    return true;
}

bool Element::m_ParseENTITYSection(const CString& text, CDataParser& parser)
{
    m_TagSlot() = "ENTITY";
    const int keyword = text.Find("ENTITY");
    if (keyword < 0) {
        return m_Fail("Ill formed ENTITY section (Rule 71).");
    }
    CString full = text;
    std::string_view rest = TrimLeft(View(full).substr(std::size_t(keyword) + 6));
    if (!rest.empty() && rest.front() == '%') {
        rest = TrimLeft(rest.substr(1));
    }
    const std::size_t space = rest.size() >= 2 ? FindSpace(rest) : std::string_view::npos;
    if (space == std::string_view::npos) {
        return m_Fail("Ill formed ENTITY section[2] (Rule 71).");
    }
    const CString name = ToCString(rest.substr(0, space));
    const std::size_t valueStart = std::size_t(rest.data() - full.GetString()) + space;
    std::string_view definition = TrimLeft(View(full).substr(valueStart));
    if (!definition.empty() && IsQuote(definition.front())) {
        const char quote = definition.front();
        std::size_t offset = std::size_t(definition.data() - full.GetString());
        std::size_t close = definition.find(quote, 1);
        while (close == std::string_view::npos) {
            CString more;
            if (!parser.GetUntilAndIncluding(m_Ending, CString(">"), more)) {
                return m_Fail(quote == '"' ? "ENTITY value missing closing double quote (Rule 9)."
                                           : "ENTITY value missing closing single quote (Rule 9).");
            }
            full += more;
            definition = View(full).substr(offset);
            close = definition.find(quote, 1);
        }
        const CString reference = "&" + name + ";";
        // A declaration of one of the five predefined entities redefines it
        // only under the parse option that lets AddEntity do so; otherwise
        // it is kept as a node and the entity keeps its meaning.
        Document* const document = m_FindDocument();
        if (document != nullptr && !(IsPredefinedReference(View(reference))
                && (document->GetParseOptions() & Document::parseAllowRedefinitionOfPredefinedEntities) == 0)
            && !document->m_MutableEntities().Add(reference, ToCString(definition.substr(1, close - 1)))) {
            return m_Fail("Internal error adding ENTITY");
        }
    } else {
        std::string_view external = definition;
        if (!external.empty() && external.back() == '>') {
            external.remove_suffix(1);
        }
        external = TrimRight(external);
        const bool isSystem = !external.empty() && external.front() == 'S';
        const bool isPublic = !external.empty() && external.front() == 'P';
        if (!isSystem && !isPublic) {
            return m_Fail("Ill formed ENTITY section[4] (Rule 71).");
        }
        if (external.size() < 6) {
            return m_Fail(isSystem ? "Ill formed ENTITY section (Rule 75)."
                                   : "Ill formed ENTITY (PUBLIC) section (Rule 75).");
        }
        if (!StartsWith(external, isSystem ? "SYSTEM" : "PUBLIC")) {
            return m_Fail(isSystem ? "Ill formed ENTITY section[2] (Rule 75)."
                                   : "Ill formed ENTITY (PUBLIC) section[2] (Rule 75).");
        }
        // External entities are recognised but not fetched or stored.
    }
    std::string_view contents = View(full).substr(std::size_t(keyword) + 6);
    if (!contents.empty() && contents.back() == '>') {
        contents.remove_suffix(1);
    }
    m_ContentsSlot() = Trim(contents);
    return true;
}
