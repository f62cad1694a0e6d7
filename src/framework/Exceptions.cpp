#include "framework/Exceptions.h"

// The constructors and destructors are out of line so that the vtables and
// type information live in the library alone; a handler in another module
// then matches the same type the library threw.

CException::CException() noexcept = default;
CException::~CException() = default;

const char* CException::what() const noexcept
{
    return "framework exception";
}

CInvalidArgException::CInvalidArgException() noexcept = default;
CInvalidArgException::~CInvalidArgException() = default;

const char* CInvalidArgException::what() const noexcept
{
    return "invalid argument";
}

CMemoryException::CMemoryException() noexcept = default;
CMemoryException::~CMemoryException() = default;

const char* CMemoryException::what() const noexcept
{
    return "out of memory";
}

CArchiveException::CArchiveException(int cause) noexcept : m_cause(cause)
{
}

CArchiveException::~CArchiveException() = default;

const char* CArchiveException::what() const noexcept
{
    switch (m_cause) {
    case readOnly:
        return "archive: write to a loading archive";
    case endOfFile:
        return "archive: unexpected end of data";
    case writeOnly:
        return "archive: read from a storing archive";
    case badIndex:
        return "archive: length out of range";
    default:
        return "archive exception";
    }
}

CResourceException::CResourceException() noexcept = default;
CResourceException::~CResourceException() = default;

const char* CResourceException::what() const noexcept
{
    return "resource failure";
}
