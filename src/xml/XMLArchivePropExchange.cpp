// CXMLArchivePropExchange: each property type mapped onto an archive value.
#include "xml/XMLArchivePropExchange.h"

#include <cstdint>

CXMLArchivePropExchange::CXMLArchivePropExchange(CXMLArchive& archive)
    : m_Archive(archive)
{
    m_bLoading = archive.IsLoading();
}

CXMLArchivePropExchange::~CXMLArchivePropExchange() = default;

BOOL CXMLArchivePropExchange::ExchangeProp(const char* name, VARTYPE type, void* value, const void*)
{
    if (name == nullptr || value == nullptr) {
        return FALSE;
    }
    return m_bLoading ? Load(name, type, value) : Store(name, type, value);
}

BOOL CXMLArchivePropExchange::Store(const char* name, VARTYPE type, const void* value)
{
    CExtensibleMarkupLanguageElement* written = nullptr;
    switch (type) {
    case VT_I2:
        written = m_Archive.Write(name, static_cast<unsigned long>(static_cast<WORD>(*static_cast<const short*>(value))));
        break;
    case VT_I4:
        written = m_Archive.Write(name, *static_cast<const long*>(value));
        break;
    case VT_R4:
        written = m_Archive.Write(name, static_cast<double>(*static_cast<const float*>(value)));
        break;
    case VT_R8:
        written = m_Archive.Write(name, *static_cast<const double*>(value));
        break;
    case VT_CY: {
        const CY& amount = *static_cast<const CY*>(value);
        written = m_Archive.Write(name, static_cast<unsigned long>(amount.Lo));
        if (written != nullptr) {
            written = m_Archive.Write(name, static_cast<long>(amount.Hi));
        }
        break;
    }
    case VT_BSTR:
        written = m_Archive.Write(name, *static_cast<const CString*>(value));
        break;
    case VT_BOOL:
        written = m_Archive.Write(name, static_cast<int>(*static_cast<const BOOL*>(value)));
        break;
    case VT_UI1:
        written = m_Archive.Write(name, *static_cast<const BYTE*>(value));
        break;
    default:
        break;
    }
    return written != nullptr ? TRUE : FALSE;
}

BOOL CXMLArchivePropExchange::Load(const char* name, VARTYPE type, void* value)
{
    CExtensibleMarkupLanguageElement* read = nullptr;
    switch (type) {
    case VT_I2: {
        WORD bits = 0;
        read = m_Archive.Read(name, bits);
        if (read != nullptr) {
            *static_cast<short*>(value) = static_cast<short>(bits);
        }
        break;
    }
    case VT_I4:
        read = m_Archive.Read(name, *static_cast<long*>(value));
        break;
    case VT_R4:
        read = m_Archive.Read(name, *static_cast<float*>(value));
        break;
    case VT_R8:
        read = m_Archive.Read(name, *static_cast<double*>(value));
        break;
    case VT_CY: {
        // Both halves are read before either is stored, so a property with
        // only one of its two elements keeps its value.
        unsigned long low = 0;
        long high = 0;
        const CString second = CString(name) + "(1)";
        if (m_Archive.Read(name, low) != nullptr && (read = m_Archive.Read(second, high)) != nullptr) {
            CY& amount = *static_cast<CY*>(value);
            amount.Lo = static_cast<ULONG>(low);
            amount.Hi = static_cast<LONG>(high);
        }
        break;
    }
    case VT_BSTR:
        read = m_Archive.Read(name, *static_cast<CString*>(value));
        break;
    case VT_BOOL: {
        int flag = 0;
        read = m_Archive.Read(name, flag);
        if (read != nullptr) {
            *static_cast<BOOL*>(value) = flag;
        }
        break;
    }
    case VT_UI1:
        read = m_Archive.Read(name, *static_cast<BYTE*>(value));
        break;
    default:
        break;
    }
    return read != nullptr ? TRUE : FALSE;
}
