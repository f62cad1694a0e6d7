// Loads typed values from arbitrary bytes through a binary archive. The
// first byte picks the archive's buffer size, the second how many of the
// following bytes are a script of read kinds; the rest is the data. A load
// may run out of data (CArchiveException); nothing else may go wrong.
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/MemFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void ReadOne(CArchive& archive, std::uint8_t kind)
{
    switch (kind % 16) {
    case 0: { BYTE v; archive >> v; break; }
    case 1: { WORD v; archive >> v; break; }
    case 2: { LONG v; archive >> v; break; }
    case 3: { DWORD v; archive >> v; break; }
    case 4: { int v; archive >> v; break; }
    case 5: { long v; archive >> v; break; }
    case 6: { LONGLONG v; archive >> v; break; }
    case 7: { ULONGLONG v; archive >> v; break; }
    case 8: { float v; archive >> v; break; }
    case 9: { double v; archive >> v; break; }
    case 10: { bool v; archive >> v; break; }
    case 11: {
        CString v;
        archive >> v;
        if (v.GetLength() < 0) {
            std::abort();
        }
        break;
    }
    case 12: { archive.ReadCount(); break; }
    case 13: { char v; archive >> v; break; }
    case 14: { short v; archive >> v; break; }
    default: {
        BYTE raw[37];
        if (archive.Read(raw, sizeof raw) > sizeof raw) {
            std::abort();
        }
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int bufferSize = 1 + data[0];
    const std::size_t scriptLength = data[1] < size - 2 ? data[1] : size - 2;
    const std::uint8_t* script = data + 2;
    std::vector<BYTE> bytes(data + 2 + scriptLength, data + size);

    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load, bufferSize);
    // With no script, read strings until the data runs out.
    const std::size_t steps = scriptLength > 0 ? scriptLength : 64;
    try {
        for (std::size_t i = 0; i < steps; ++i) {
            ReadOne(archive, scriptLength > 0 ? script[i] : 11);
        }
    } catch (const CArchiveException& error) {
        if (error.m_cause != CArchiveException::endOfFile && error.m_cause != CArchiveException::badIndex) {
            std::abort();
        }
    }
    return 0;
}
