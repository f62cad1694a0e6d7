// Uses the installed library through its headers and its shared library:
// reads an XML document, adds an element and reads the new text back.
// Prints what it did and exits 0 when every step gave the expected result.
#include "framework/String.h"
#include "xml/XML.h"

#include <cstdio>

int main()
{
    CXML xml;
    if (!xml.SetDoc("<quote symbol=\"ORV\"><last>12.5</last></quote>") || !xml.FindElem("quote")) {
        std::printf("FAIL: the document did not parse: %s\n", static_cast<const char*>(xml.GetError()));
        return 1;
    }
    const CString symbol = xml.GetAttrib("symbol");
    if (symbol != "ORV" || !xml.FindChildElem("last") || xml.GetChildData() != "12.5") {
        std::printf("FAIL: read back symbol '%s'\n", static_cast<const char*>(symbol));
        return 1;
    }
    const CString last = xml.GetChildData();
    if (!xml.AddChildElem("bid", "12.4")) {
        std::printf("FAIL: could not add an element\n");
        return 1;
    }
    const CString document = xml.GetDoc();
    CXML copy(document);
    if (!copy.FindElem("quote") || !copy.FindChildElem("bid") || copy.GetChildData() != "12.4") {
        std::printf("FAIL: the written document reads back wrong: %s\n", static_cast<const char*>(document));
        return 1;
    }
    std::printf("OK: read %s at %s, added a bid of %s and read it back\n", static_cast<const char*>(symbol),
        static_cast<const char*>(last), static_cast<const char*>(copy.GetChildData()));
    return 0;
}
