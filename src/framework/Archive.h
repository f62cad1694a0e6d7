// The framework's binary archive: CArchive.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

#include <cstddef>
#include <vector>

class CFile;

// Reads or writes typed values through a CFile, buffered. Every field is
// little-endian and takes its type's own width: 1 byte for BYTE, char and
// bool (0 or 1; any nonzero byte loads as true), 2 for WORD and short, 4 for
// int, UINT, LONG, DWORD, float, 8 for LONGLONG, ULONGLONG and double. A
// `long` takes its own width too: 4 bytes where it is 32-bit (Windows) and
// 8 bytes where it is the same type as LONGLONG (64-bit Linux), since the
// two cannot be told apart there; portable formats use LONG or LONGLONG.
//
// Counts (WriteCount/ReadCount) are a WORD, or 0xFFFF followed by a DWORD
// when the count is 0xFFFF or more. A CString is its length, then its bytes:
// a BYTE length below 0xFF; else 0xFF and a WORD length below 0xFFFF; else
// 0xFF, 0xFFFF and a DWORD length.
//
// A load that runs past the end of the data throws CArchiveException with
// cause endOfFile; the value being read is left unchanged. Writing to a
// loading archive throws cause readOnly, reading a storing one writeOnly.
class ORV_API CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    // A null file or a buffer size below 1 throws CInvalidArgException. The
    // archive does not own the file.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    // A storing archive that was not closed writes out its buffer here,
    // unless the mode has bNoFlushOnDelete; errors are then swallowed, so
    // callers that need to know call Close.
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const noexcept { return (m_mode & load) != 0; }
    bool IsStoring() const noexcept { return !IsLoading(); }
    CFile* GetFile() const noexcept { return m_file; }

    // Writes out the buffer (storing) and detaches from the file; the
    // archive can no longer be used.
    void Close();
    // Detaches from the file without writing the buffer.
    void Abort() noexcept;
    // Storing: writes the buffered bytes to the file.
    void Flush();

    // Raw transfer. Read returns how many bytes it could read, fewer than
    // count only at the end of the data, and throws nothing for a short read.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    void WriteCount(DWORD count);
    DWORD ReadCount();

    CArchive& operator<<(bool value);
    CArchive& operator<<(char value);
    CArchive& operator<<(unsigned char value);
    CArchive& operator<<(short value);
    CArchive& operator<<(unsigned short value);
    CArchive& operator<<(int value);
    CArchive& operator<<(unsigned int value);
    CArchive& operator<<(long value);
    CArchive& operator<<(unsigned long value);
    CArchive& operator<<(long long value);
    CArchive& operator<<(unsigned long long value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const CString& value);
    CArchive& operator<<(const char* value) { return *this << CString(value); }

    CArchive& operator>>(bool& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(unsigned char& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(unsigned short& value);
    CArchive& operator>>(int& value);
    CArchive& operator>>(unsigned int& value);
    CArchive& operator>>(long& value);
    CArchive& operator>>(unsigned long& value);
    CArchive& operator>>(long long& value);
    CArchive& operator>>(unsigned long long& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(CString& value);

private:
    template <class T>
    void StoreInteger(T value);
    template <class T>
    T LoadInteger();

    // Fills buffer with exactly count bytes or throws endOfFile.
    void ReadExact(void* buffer, UINT count);
    void CheckUsable(bool forLoading) const;
    void FillBuffer();

    CFile* m_file;
    UINT m_mode;
    std::vector<BYTE> m_buffer;
    // Loading: the unread bytes are [m_next, m_end). Storing: [0, m_next)
    // waits to be written.
    std::size_t m_next = 0;
    std::size_t m_end = 0;
};
