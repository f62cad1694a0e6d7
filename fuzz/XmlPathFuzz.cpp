// Resolves arbitrary path text against a small fixed document with GetChild,
// CountChildren and the document's forms; a node found must be one of the
// document's, and its complete name must lead back to it.
#include "XmlFuzzSupport.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const char kDocument[] = "<?xml version='1.0'?><top><A x='1'/><B/><A><C/>t<C/></A><A/><B/></top>";

CExtensibleMarkupLanguageDocument& Fixture()
{
    static CExtensibleMarkupLanguageDocument* document = [] {
        auto* created = new CExtensibleMarkupLanguageDocument;
        ParseFuzzBytes(*created, kDocument, sizeof(kDocument) - 1);
        return created;
    }();
    return *document;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CExtensibleMarkupLanguageDocument& document = Fixture();
    const CString path(reinterpret_cast<const char*>(data), int(size));
    const char separators[] = {'.', '/'};
    for (char separator : separators) {
        document.SetParentChildSeparatorCharacter(separator);
        CExtensibleMarkupLanguageElement* found = document.GetElement(path);
        if (found != nullptr) {
            CString complete;
            found->GetCompleteName(complete);
            if (!complete.IsEmpty() && document.GetElement(complete) != found) {
                std::abort();
            }
        }
        const DWORD count = document.CountElements(path);
        if (count > document.GetNumberOfElements()) {
            std::abort();
        }
        CExtensibleMarkupLanguageElement* top = document.GetElement("top");
        if (top != nullptr) {
            top->GetChild(path);
            top->CountChildren(path);
        }
    }
    return 0;
}
