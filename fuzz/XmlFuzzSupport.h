// What the XML fuzz targets share: a document parsed from fuzz bytes.
#pragma once

#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <cstdint>
#include <cstring>

// Parses a copy of the bytes into the document; the result of its Parse.
inline bool ParseFuzzBytes(CExtensibleMarkupLanguageDocument& document, const void* data, std::size_t size)
{
    auto* bytes = new CByteArray;
    bytes->SetSize(int(size));
    if (size > 0) {
        std::memcpy(bytes->GetData(), data, size);
    }
    CDataParser parser;
    parser.Initialize(bytes, true);
    return document.Parse(parser);
}
