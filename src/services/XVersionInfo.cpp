#include "services/XVersionInfo.h"

#include "framework/Section.h"
#include "platform/VersionResource.h"

#include <cstring>

namespace {

// A path buffer of the system's classic size, terminator included.
constexpr int kPathCapacity = 260;

// The cached executable path and the lock that guards it.
struct ExecutablePathCache {
    CSection lock;
    CString path;
};

ExecutablePathCache& TheExecutablePath()
{
    static ExecutablePathCache cache;
    return cache;
}

// Major and minor from a most significant word, build and revision from a
// least significant one.
void SplitVersionWords(DWORD mostSignificant, DWORD leastSignificant, int (&values)[4])
{
    values[0] = int(mostSignificant >> 16);
    values[1] = int(mostSignificant & 0xFFFF);
    values[2] = int(leastSignificant >> 16);
    values[3] = int(leastSignificant & 0xFFFF);
}

} // namespace

CXVersionInfo::~CXVersionInfo() = default;

CString CXVersionInfo::ThisApplication()
{
    ExecutablePathCache& cache = TheExecutablePath();
    CSectionLock hold(cache.lock);
    // An answer the system could not give is asked for again next time.
    if (cache.path.IsEmpty()) {
        platform::QueryExecutablePath(cache.path, kPathCapacity);
    }
    return cache.path;
}

void CXVersionInfo::ResetFields()
{
    for (int i = 0; i < 4; ++i) {
        m_FileVersionValues[i] = 0;
        m_ProductVersionValues[i] = 0;
    }
    for (CString* text : {&m_FileVersion, &m_ProductVersion, &m_Comments, &m_CompanyName, &m_FileDescription,
             &m_InternalName, &m_LegalCopyright, &m_LegalTrademarks, &m_OriginalFilename, &m_PrivateBuild,
             &m_ProductName, &m_SpecialBuild}) {
        text->Empty();
    }
}

int CXVersionInfo::GetVersionInfo(const char* path)
{
    ResetFields();
    if (path == nullptr) {
        m_Path = ThisApplication();
    } else if (std::strlen(path) < std::size_t(kPathCapacity)) {
        m_Path = path;
    } else {
        // Never cut a long path short: a shorter one could name another module.
        m_Path.Empty();
    }
    if (m_Path.IsEmpty()) {
        return 0;
    }
    GetVersionInfoFields();
    return 1;
}

void CXVersionInfo::GetVersionInfoFields()
{
    CByteArray block;
    if (!platform::ReadVersionResource(m_Path, block)) {
        return;
    }
    platform::FixedVersionWords words;
    if (platform::QueryFixedVersion(block, words)) {
        SplitVersionWords(words.fileMS, words.fileLS, m_FileVersionValues);
        SplitVersionWords(words.productMS, words.productLS, m_ProductVersionValues);
    }
    WORD language = 0;
    WORD codePage = 0;
    if (!platform::QueryFirstTranslation(block, language, codePage)) {
        return;
    }

    const struct {
        const char* name;
        CString* field;
    } strings[] = {
        {"Comments", &m_Comments},
        {"CompanyName", &m_CompanyName},
        {"FileDescription", &m_FileDescription},
        {"InternalName", &m_InternalName},
        {"LegalCopyright", &m_LegalCopyright},
        {"LegalTrademarks", &m_LegalTrademarks},
        {"OriginalFilename", &m_OriginalFilename},
        {"PrivateBuild", &m_PrivateBuild},
        {"ProductName", &m_ProductName},
        {"SpecialBuild", &m_SpecialBuild},
    };
    for (const auto& entry : strings) {
        CString subBlock;
        subBlock.Format("\\StringFileInfo\\%04X%04x\\%s", unsigned(language), unsigned(codePage), entry.name);
        platform::QueryVersionString(block, subBlock, *entry.field);
    }

    const int* file = m_FileVersionValues;
    const int* product = m_ProductVersionValues;
    m_FileVersion.Format("%d,%d,%d,%d", file[0], file[1], file[2], file[3]);
    m_ProductVersion.Format("%d.%d.%d.%d", product[0], product[1], product[2], product[3]);
}
