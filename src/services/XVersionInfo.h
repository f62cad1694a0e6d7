// The version resource of a module: CXVersionInfo.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

// Reads the version numbers and the named strings of a module's version
// resource. A module without a resource (every native module) reads as all
// values 0 and all strings empty. Copyable and assignable.
class ORV_API CXVersionInfo {
public:
    CXVersionInfo() = default;
    CXVersionInfo(const CXVersionInfo& source) = default;
    CXVersionInfo& operator=(const CXVersionInfo& source) = default;
    virtual ~CXVersionInfo();

    // Reads the version resource of the module at `path`, or of the process's
    // executable when `path` is null. Returns 0 when no usable path is given
    // (an empty path, or one of 260 characters or more); otherwise 1, whether
    // or not the module has a version resource. Every value is reset first.
    virtual int GetVersionInfo(const char* path = nullptr);

    // major, minor, build, revision of the fixed file and product versions.
    const int* FileVersionValues() const noexcept { return m_FileVersionValues; }
    const int* ProductVersionValues() const noexcept { return m_ProductVersionValues; }

    // "major,minor,build,revision" of the file version, and
    // "major.minor.build.revision" of the product version; both empty when
    // the resource has no translation table.
    CString FileVersion() const { return m_FileVersion; }
    CString ProductVersion() const { return m_ProductVersion; }
    // The resource's string values of those names; a missing one is empty.
    CString Comments() const { return m_Comments; }
    CString CompanyName() const { return m_CompanyName; }
    CString FileDescription() const { return m_FileDescription; }
    CString InternalName() const { return m_InternalName; }
    CString LegalCopyright() const { return m_LegalCopyright; }
    CString LegalTrademarks() const { return m_LegalTrademarks; }
    CString OriginalFilename() const { return m_OriginalFilename; }
    CString PrivateBuild() const { return m_PrivateBuild; }
    CString ProductName() const { return m_ProductName; }
    CString SpecialBuild() const { return m_SpecialBuild; }
    // The module whose version was read last.
    CString Path() const { return m_Path; }

protected:
    // The full path of the process's executable, asked of the system once
    // and kept for every later call (under a process-wide lock, since the
    // update worker and the user-interface thread both ask). Empty when the
    // system cannot tell it in fewer than 260 characters.
    static CString ThisApplication();
    // Fills the values and strings from the resource of m_Path.
    virtual void GetVersionInfoFields();

    int m_FileVersionValues[4] {};
    int m_ProductVersionValues[4] {};
    CString m_FileVersion;
    CString m_ProductVersion;
    CString m_Comments;
    CString m_CompanyName;
    CString m_FileDescription;
    CString m_InternalName;
    CString m_LegalCopyright;
    CString m_LegalTrademarks;
    CString m_OriginalFilename;
    CString m_PrivateBuild;
    CString m_ProductName;
    CString m_SpecialBuild;
    CString m_Path;

private:
    void ResetFields();
};
