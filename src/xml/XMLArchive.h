// CXMLArchive: typed values stored as child elements of one XML element.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/OleDateTime.h"
#include "framework/String.h"
#include "framework/Time.h"
#include "platform/SystemTime.h"
#include "base/Types.h"
#include "xml/ExtensibleMarkupLanguageElement.h"

class CXMLArchive;

// A caller's routine that writes or reads one structure through the archive;
// nonzero for success.
typedef BOOL (*XML_ARCHIVE_SERIALIZE_FUNCTION)(CXMLArchive& archive, const CString& name, void* object);

// Stores typed values in XML, one child element per value: WriteTo points
// the archive at an element for writing, ReadFrom for reading, and each
// Write(name, value) / Read(name, value) then adds or finds the child tagged
// name. The archive never owns the element it is pointed at.
//
// Every Write returns the new child, or null when the archive is not storing
// or has no element (nothing is added then). Every Read returns the child it
// read, or null when the archive is not loading, has no element, or the
// child is missing; the value is then left as it was (arrays are emptied
// before the search). The name given to Read may be a path with instance
// numbers ("Rows.ENTRY(2)").
//
// Texts: truth values "1"/"0"; BYTE lower-case hexadecimal; long and
// unsigned long decimal of their 32-bit forms (a negative long as its
// two's-complement value, so -1 is "4294967295"); 64-bit values decimal;
// doubles "%.15lf" with trailing zeros dropped ("0.25", "3."), or the
// shortest exact "%.17g" form when that would lose bits; spans as whole
// seconds; times as ISO 8601 ("2009-06-01T12:00:00+02:00"); byte arrays in
// base 64; word and string arrays as one child per entry tagged "ENTRY".
// Natively long is 64 bits wide: a long or unsigned long outside the 32-bit
// range is refused (Write returns null) rather than cut.
class ORV_API CXMLArchive {
public:
    CXMLArchive();
    virtual ~CXMLArchive();

    CXMLArchive(const CXMLArchive&) = delete;
    CXMLArchive& operator=(const CXMLArchive&) = delete;

    // With the flag set, every Write also appends a CR LF text segment to
    // the archive's element after the new child.
    virtual void SetAddNewLineAfterEachElement(BOOL addNewLine);
    virtual BOOL GetAddNewLineAfterEachElement() const;
    virtual BOOL IsLoading() const;
    virtual BOOL IsStoring() const;
    virtual CExtensibleMarkupLanguageElement* GetElement() const;

    // The unsigned long reading narrowed to 16 bits, the double reading
    // narrowed to float.
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, float& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, WORD& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, BYTE& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, unsigned long long& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, long long& value);
    // Decimal read as a 32-bit unsigned number (as strtoul does on a 32-bit
    // long: a leading '-' negates, overflow gives 4294967295), then taken as
    // a 32-bit signed value.
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, long& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, unsigned long& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, double& value);
    // The time types read ISO 8601 text (see ParseISO8601) as UTC. When the
    // text cannot be read or the instant does not fit the type, the value is
    // reset: CTime to 0, a COleDateTime to 0 with the status invalid, a
    // SYSTEMTIME or FILETIME to all zeros.
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CTimeSpan& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CTime& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, SYSTEMTIME& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CStringArray& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CString& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, COleDateTimeSpan& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, COleDateTime& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, FILETIME& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CDWordArray& value);
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, CByteArray& value);
    // A truth value: TRUE when the unsigned long reading is nonzero.
    virtual CExtensibleMarkupLanguageElement* Read(const char* name, int& value);

    // Switches to loading and reads the children of element.
    virtual void ReadFrom(CExtensibleMarkupLanguageElement* element);

    // Calls function(*this, name, object); false without calling it when
    // the name is empty or object or function is null.
    virtual BOOL SerializeObject(const char* name, void* object, XML_ARCHIVE_SERIALIZE_FUNCTION function);

    virtual CExtensibleMarkupLanguageElement* Write(const char* name, BYTE value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, unsigned long long value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, long long value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, long value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, unsigned long value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, double value);
    // Spans are written as whole seconds in decimal, with a '-' when
    // negative.
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CTimeSpan& value);
    // The instant as UTC followed by "Z" when utc is set, else as the
    // workstation's clock time followed by the zone suffix.
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CTime& value, BOOL utc = FALSE);
    // The fields as they are, followed by "Z".
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const SYSTEMTIME& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CStringArray& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CString& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const COleDateTimeSpan& value);
    // The fields as they are, followed by "Z" when utc is set, else by the
    // zone suffix. A value whose status is not valid is written as an empty
    // text (which reads back as invalid).
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const COleDateTime& value, BOOL utc = FALSE);
    // The UTC file time as the workstation's clock time followed by the zone
    // suffix.
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const FILETIME& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CDWordArray& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, const CByteArray& value);
    virtual CExtensibleMarkupLanguageElement* Write(const char* name, int value);

    // Like Write of a string, but the text is added as markup, unescaped.
    virtual CExtensibleMarkupLanguageElement* WriteXML(const char* name, const CString& markup);

    // Switches to storing and writes children of element.
    virtual void WriteTo(CExtensibleMarkupLanguageElement* element);

#if !defined(_WIN32)
    // Natively DWORD is unsigned int, not unsigned long; both are written
    // and read as unsigned long.
    CExtensibleMarkupLanguageElement* Write(const char* name, DWORD value)
    {
        return Write(name, static_cast<unsigned long>(value));
    }
    CExtensibleMarkupLanguageElement* Read(const char* name, DWORD& value);
#endif

    // The zone suffix computed at construction: "Z", "+HH:MM" or "-HH:MM",
    // empty when the workstation's zone could not be read.
    const CString& GetTimeZoneSuffix() const noexcept { return m_TimeZoneSuffix; }

    // The ISO 8601 reading behind every time type: four digits of year,
    // then optionally "-MM", "-DD", "Thh", ":mm", ":ss" and ".fraction"
    // (ignored), each only after the one before it, and last an optional
    // zone "Z", "+hh:mm" or "-hh:mm". Missing parts are month 1, day 1,
    // 00:00:00 and "Z". Month 1-12, day 1 to the end of its month, hour
    // 0-23, minute and second 0-59, zone hours 0-23 and minutes 0-59; any
    // other text, or text after the zone, fails. On success utc holds the
    // instant in UTC (the offset taken away), milliseconds 0 and the day of
    // week set; the year then lies in 0-9999. On failure utc is untouched.
    static bool ParseISO8601(const char* text, SYSTEMTIME& utc);

private:
    CExtensibleMarkupLanguageElement* AddChild(const char* name, const CString& text, bool asMarkup);
    CExtensibleMarkupLanguageElement* FindChild(const char* name) const;
    CExtensibleMarkupLanguageElement* ReadText(const char* name, CString& text) const;
    CExtensibleMarkupLanguageElement* ReadTime(const char* name, SYSTEMTIME& utc, bool& parsed) const;
    CExtensibleMarkupLanguageElement* WriteClockTime(const char* name, long long utcSeconds, bool utc);
    long long SuffixOffsetSeconds() const;

    bool m_IsStoring = false;
    bool m_AddNewLineAfterEachElement = false;
    CString m_TimeZoneSuffix;
    CExtensibleMarkupLanguageElement* m_Element = nullptr;
};
