// CXMLArchivePropExchange: a control's properties saved to and loaded from
// an XML archive.
#pragma once

#include "OrvApi.h"
#include "framework/PropExchange.h"
#include "xml/XMLArchive.h"

// Loads when the archive is loading, stores otherwise (fixed at
// construction). Each property becomes one child element of the archive's
// element, tagged with its name:
//   VT_I2   the 16-bit pattern as an unsigned number (-1 is "65535")
//   VT_I4   long            VT_R4  double, read back as float
//   VT_R8   double          VT_BSTR  the text
//   VT_BOOL truth value     VT_UI1   hexadecimal
//   VT_CY   two elements of that name: the low 32 bits as unsigned long,
//           then the high 32 bits as long; loading reads the first and the
//           second of that name.
// Other types are not exchanged (FALSE). A property missing on loading
// keeps its value (FALSE); the default is not used. The archive is not
// owned and must outlive this object.
class ORV_API CXMLArchivePropExchange : public CPropExchange {
public:
    explicit CXMLArchivePropExchange(CXMLArchive& archive);
    ~CXMLArchivePropExchange() override;

    BOOL ExchangeProp(const char* name, VARTYPE type, void* value, const void* defaultValue = nullptr) override;

private:
    BOOL Store(const char* name, VARTYPE type, const void* value);
    BOOL Load(const char* name, VARTYPE type, void* value);

    CXMLArchive& m_Archive;
};
