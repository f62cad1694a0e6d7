// Test support: the bytes a storing archive leaves in a memory file, loading
// from given bytes, and the cause of the archive exception an action throws.
#pragma once

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/MemFile.h"

#include <functional>
#include <vector>

namespace orv_test {

using ArchiveBytes = std::vector<BYTE>;

inline ArchiveBytes Stored(const std::function<void(CArchive&)>& store, int bufferSize = 4096)
{
    CMemFile file(16);
    CArchive archive(&file, CArchive::store, bufferSize);
    store(archive);
    archive.Close();
    ArchiveBytes bytes(static_cast<std::size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

inline void Load(ArchiveBytes bytes, const std::function<void(CArchive&)>& load, int bufferSize = 4096)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load, bufferSize);
    load(archive);
}

// The cause of the CArchiveException the action throws; -1 when it throws none.
inline int CauseOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CArchiveException& error) {
        return error.m_cause;
    }
    return -1;
}

} // namespace orv_test
