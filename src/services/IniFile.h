// Settings in an INI file: CIniFile.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

// One INI file and a current section, over the system's private-profile
// functions. Every getter and setter takes the section, the key, then the
// default or the value; a null section means the current section.
// Values are read into a 256-character buffer, so a longer value reads as
// its first 255 characters. Plain value class: copyable and assignable.
class ORV_API CIniFile {
public:
    // SetFile(file) then SetSection(section).
    explicit CIniFile(const char* file = nullptr, const char* section = nullptr);

    // Null selects WIN.INI in the Windows directory (result 1). Otherwise the
    // path is taken only if it exists (1); if not, the file stays as it was
    // and the result is 0.
    BOOL SetFile(const char* path);
    // Null empties the current section.
    void SetSection(const char* name);
    const CString& GetFile() const noexcept { return m_strFile; }
    const CString& GetSection() const noexcept { return m_strSection; }

    // The value, or defaultText when the key is missing.
    CString GetString(const char* section, const char* key, const char* defaultText = nullptr) const;
    // The platform's result: nonzero on success.
    BOOL SetString(const char* section, const char* key, const char* value) const;

    // True when the value starts with '1', 'y' or 'Y'; a missing key reads
    // as "1" or "0" by the default.
    bool GetBool(const char* section, const char* key, bool defaultValue = false) const;
    BOOL SetBool(const char* section, const char* key, bool value) const;

    // Decimal, as atol reads it: leading blanks, a sign, then digits up to
    // the first non-digit; no digits give 0. A value beyond the type's range
    // gives the nearest limit.
    long GetLong(const char* section, const char* key, long defaultValue = 0) const;
    BOOL SetLong(const char* section, const char* key, long value) const;
    int GetInt(const char* section, const char* key, int defaultValue = 0) const;
    BOOL SetInt(const char* section, const char* key, int value) const;

    // Written with "%f" ("0" for exactly zero), read as atof reads it.
    double GetDouble(const char* section, const char* key, double defaultValue = 0.0) const;
    BOOL SetDouble(const char* section, const char* key, double value) const;

    // Appends the section's key names in file order; false when the section
    // has none (or does not exist).
    bool GetKeyNames(const char* section, CStringArray& names) const;
    // Removes the section with all its keys.
    BOOL DeleteSection(const char* section) const;

private:
    const char* SectionOr(const char* section) const { return section != nullptr ? section : m_strSection.GetString(); }

    CString m_strFile;
    CString m_strSection;
};
