// Typed access to registry keys: CRegistry, and COrvRegistry fixed on the
// product's global settings key.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/Geometry.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "platform/Registry.h"

// The product's per-user key for global settings, under HKEY_CURRENT_USER.
inline constexpr const char* ORV_SETTINGS_GLOBAL_KEY = "Software\\Velkor\\ORV Desktop\\SettingsGlobal";

// One registry key, held open, with typed reads and writes. Every operation
// returns nonzero on success and 0 on failure unless its comment says
// otherwise; none throws, except that the reads of int, long, bool,
// rectangle, window and object pass on the CArchiveException (endOfFile)
// raised when the stored value is shorter than its layout.
//
// Encodings: strings are REG_SZ with their terminating NUL; unsigned long
// (and DWORD) values are REG_DWORD; byte arrays are REG_BINARY as they are;
// int, long and bool are REG_BINARY of 4 bytes, a 32-bit little-endian
// integer (bool as 1 or 0); a rectangle is 16 bytes (left, top, right,
// bottom); a window placement 40 bytes; an object whatever its Serialize
// writes to a binary archive. The binary forms are written through a
// CArchive over a CMemFile and read back the same way.
//
// The object owns the held key and closes it on destruction; it is neither
// copyable nor assignable.
class ORV_API CRegistry : public CObject {
public:
    explicit CRegistry(HKEY rootKey = HKEY_CURRENT_USER);
    ~CRegistry() override;

    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // The key that reads and writes act on (null after Close), and the
    // subkey path last given to Open.
    HKEY GetKey() const noexcept { return m_hKey; }
    const CString& GetKeyPath() const noexcept { return m_strKeyPath; }

    // Closes the held key and forgets it. Nonzero when a key was held and
    // closed; 0 when nothing was held or the close failed.
    BOOL Close();

    // Closes the held key, remembers subKey as the key path and opens it
    // under root. The held key is null when the open fails.
    BOOL Open(HKEY root, const char* subKey, REGSAM access = KEY_ALL_ACCESS);
    // Opens subKey under the key held now; on success the new key replaces
    // (and closes) the held one, on failure the held key stays.
    BOOL Open(const char* subKey, REGSAM access);

    // 1 when subKey can be opened under root, else 0. Either way the held
    // key is closed and null afterwards.
    BOOL VerifyKey(HKEY root, const char* subKey, REGSAM access = KEY_ALL_ACCESS);
    // The same under the key held now.
    BOOL VerifyKey(const char* subKey, REGSAM access = KEY_ALL_ACCESS);
    // 1 when the held key has a value of that name, of any type.
    BOOL VerifyValue(const char* name);

    // Creates (or opens) subKey under root with the given options
    // (REG_OPTION_NON_VOLATILE or REG_OPTION_VOLATILE) and full access, and
    // holds it. The key held before is closed unless it is root itself: then
    // it stays open for the caller, who may pass it as a root again and
    // closes it with RegCloseKey. On failure nothing changes.
    BOOL CreateKey(HKEY root, const char* subKey, DWORD options = REG_OPTION_NON_VOLATILE);
    // The same under the key held now, which the new key replaces.
    BOOL CreateKey(const char* subKey, DWORD options = REG_OPTION_NON_VOLATILE);

    // recursive: the key with all its subkeys and values; otherwise only a
    // key without subkeys.
    BOOL DeleteKey(HKEY root, const char* subKey, BOOL recursive);
    BOOL DeleteValue(const char* name);

    BOOL WriteString(const char* name, const char* text);
    // Text goes through WriteString; without this, a text would quietly
    // turn into the bool form.
    BOOL Write(const char* name, const char* text) = delete;
    // Fails unless the value exists and is REG_SZ; then 1, with the text
    // assigned when the value could be read (unchanged otherwise).
    BOOL ReadString(const char* name, CString& text);

    // REG_DWORD. Natively unsigned long is 64-bit; a value above 0xFFFFFFFF
    // is refused (0) rather than cut.
    BOOL Write(const char* name, const unsigned long& value);
    BOOL Read(const char* name, unsigned long& value);
#if !defined(_WIN32)
    // Natively DWORD is unsigned int, not unsigned long; both are REG_DWORD.
    BOOL Write(const char* name, const DWORD& value);
    BOOL Read(const char* name, DWORD& value);
#endif

    // REG_BINARY as it is. A read sizes the array to the stored length.
    BOOL Write(const char* name, const CByteArray& bytes);
    BOOL Read(const char* name, CByteArray& bytes);

    // 4-byte binary. A failed read leaves the target unchanged. Natively
    // long is 64-bit; a value outside the 32-bit range is refused (0).
    BOOL Write(const char* name, const int& value);
    BOOL Read(const char* name, int& value);
    BOOL Write(const char* name, const long& value);
    BOOL Read(const char* name, long& value);
    // Through the int form; a read sets the flag to whether the stored
    // integer is nonzero, and to false when the read fails.
    BOOL Write(const char* name, const bool& value);
    BOOL Read(const char* name, bool& value);

    // 16-byte binary.
    BOOL Write(const char* name, const CRect& rect);
    BOOL Read(const char* name, CRect& rect);

#if defined(_WIN32)
    // The window's placement, 40-byte binary. The read applies it to the
    // window at once (SetWindowPlacement). Windows only: there are no
    // windows in the native build.
    BOOL Write(const char* name, HWND window);
    BOOL Read(const char* name, HWND window);
#endif

    // The object's own serialisation, REG_BINARY. Exceptions from the
    // object's Serialize reach the caller.
    BOOL Write(const char* name, CObject& object);
    BOOL Read(const char* name, CObject& object);

    // Names of all subkeys (ListKey) or values (ListValues) of subKey under
    // the held key. The array is emptied once the key is open and counted.
    // A name that cannot be read (for one, 200 characters or more) is
    // reported and ends the listing with 0; the names before it stay. The
    // report is an information message box on Windows; natively there is no
    // user interface, and the same text goes to the host log at level 4 as
    // "<system text>: <code> <call> Registry <line>" on one line.
    BOOL ListKey(const char* subKey, CStringArray& names);
    BOOL ListValues(const char* subKey, CStringArray& names);

protected:
    HKEY m_hKey;
    CString m_strKeyPath;

private:
    BOOL WriteBinary(const char* name, const BYTE* data, DWORD size);
    void Hold(HKEY key);
    BOOL List(const char* subKey, CStringArray& names, bool listKeys);
};

// CRegistry on HKEY_CURRENT_USER, with ORV_SETTINGS_GLOBAL_KEY as its
// settings key.
class ORV_API COrvRegistry : public CRegistry {
public:
    COrvRegistry();
    ~COrvRegistry() override;

    using CRegistry::Open;
    // Opens the global settings key with full access; the access argument
    // is accepted and not used.
    BOOL Open(REGSAM access = KEY_ALL_ACCESS);
    // Opens subKey under the held key with full access; the access argument
    // is accepted and not used.
    BOOL Open(const char* subKey, REGSAM access);

    // Makes sure the global settings key exists: when it is missing it is
    // created (non-volatile) and stays held; when it exists no key is held.
    void VerifyCreateSettingsGlobal();
};
