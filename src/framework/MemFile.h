// A file held in memory: CMemFile.
#pragma once

#include "OrvApi.h"
#include "framework/File.h"

#include <cstddef>
#include <vector>

// A CFile whose bytes live in memory. By default the file owns its storage
// and grows it in steps of growBytes. It can instead be attached to a
// caller's buffer:
//   - with growBytes 0 the buffer is the whole file (length = size) and is
//     read and written in place; a write past its end throws
//     CMemoryException and writes nothing;
//   - with growBytes above 0 the file starts empty with the buffer as its
//     room; when it needs more, it copies its contents into storage of its
//     own and leaves the caller's buffer alone from then on.
// The caller's buffer is never freed by the file and must outlive its use.
class ORV_API CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    CMemFile(const CMemFile&) = delete;
    CMemFile& operator=(const CMemFile&) = delete;

    // Replaces the contents with the caller's buffer (see above); the
    // position returns to the start.
    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetLength() const override { return m_length; }
    ULONGLONG GetPosition() const override { return m_position; }

private:
    void Reserve(std::size_t needed);

    std::vector<BYTE> m_owned;
    BYTE* m_buffer = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_length = 0;
    std::size_t m_position = 0;
    UINT m_growBytes = 1024;
};
