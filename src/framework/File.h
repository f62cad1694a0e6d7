// The framework's byte-stream file interface: CFile.
#pragma once

#include "OrvApi.h"
#include "framework/Object.h"
#include "base/Types.h"

// A seekable stream of bytes, as an archive reads and writes it. Only the
// in-memory file (CMemFile) implements it so far. Positions and lengths are
// 64-bit; single transfers are limited to a UINT count.
class ORV_API CFile : public CObject {
public:
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    ~CFile() override;

    // Reads up to count bytes at the current position and returns how many
    // were read: fewer than count only at the end of the file.
    virtual UINT Read(void* buffer, UINT count) = 0;
    // Writes count bytes at the current position, extending the file as
    // needed. Throws CMemoryException when the file cannot grow.
    virtual void Write(const void* buffer, UINT count) = 0;
    // Moves the position relative to from (a SeekPosition) and returns the
    // new position. A position before the start throws CInvalidArgException
    // and leaves the position unchanged; a position past the end is allowed.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from) = 0;
    virtual ULONGLONG GetLength() const = 0;
    virtual ULONGLONG GetPosition() const = 0;

    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }

protected:
    CFile() noexcept = default;
};
