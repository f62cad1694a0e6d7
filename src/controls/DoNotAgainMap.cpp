#include "controls/DoNotAgainMap.h"

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "services/Registry.h"
#include "Kestrel.h"

namespace {

constexpr const char* kValueName = "DoNotAgainMap";
constexpr int kFailureLevel = 4;

} // namespace

CDoNotAgainMap::CDoNotAgainMap() : CMap<int, int, int, int>(10)
{
    InitHashTable(17);
}

void CDoNotAgainMap::Serialize(CArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteCount(static_cast<DWORD>(GetCount()));
        POSITION position = GetStartPosition();
        while (position != nullptr) {
            int key = 0;
            int status = 0;
            GetNextAssoc(position, key, status);
            archive << key << status;
        }
        return;
    }
    const DWORD count = archive.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
        int key = 0;
        int status = 0;
        archive >> key >> status;
        SetAt(key, status);
    }
}

bool CDoNotAgainMap::LoadFromRegistry()
{
    COrvRegistry registry;
    if (!registry.Open())
        return false;
    try {
        return registry.Read(kValueName, *this) != FALSE;
    } catch (const CArchiveException& error) {
        HostLogFormat(kFailureLevel, "Warning: could not read DoNotAgainMap error#%x", error.m_cause);
    }
    return false;
}

bool CDoNotAgainMap::SaveToRegistry()
{
    COrvRegistry registry;
    int cause = CArchiveException::genericException;
    try {
        registry.VerifyCreateSettingsGlobal();
        if (registry.Open() && registry.Write(kValueName, *this))
            return true;
    } catch (const CArchiveException& error) {
        cause = error.m_cause;
    }
    HostLogFormat(kFailureLevel, "Warning: could not save DoNotAgainMap error#%x", cause);
    return false;
}
