// Exceptions thrown by the framework: CException, CInvalidArgException, CMemoryException,
// CArchiveException, CResourceException.
#pragma once

#include "OrvApi.h"

#include <exception>

// Base of every exception the library throws. Thrown by value and caught by
// reference, so a handler for CException& sees every kind below.
class ORV_API CException : public std::exception {
public:
    CException() noexcept;
    ~CException() override;

    const char* what() const noexcept override;
};

// An argument outside its allowed range, such as a collection index past the
// end or a negative size.
class ORV_API CInvalidArgException : public CException {
public:
    CInvalidArgException() noexcept;
    ~CInvalidArgException() override;

    const char* what() const noexcept override;
};

// A request for memory that could not be met, such as a buffer or array size
// larger than the process can allocate.
class ORV_API CMemoryException : public CException {
public:
    CMemoryException() noexcept;
    ~CMemoryException() override;

    const char* what() const noexcept override;
};

// A binary archive that cannot go on: most often a load that runs past the
// end of its data (endOfFile), or a read from a storing archive and a write
// to a loading one.
class ORV_API CArchiveException : public CException {
public:
    enum {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none) noexcept;
    ~CArchiveException() override;

    const char* what() const noexcept override;

    int m_cause;
};

// A system resource that could not be made, loaded or registered: a window
// class, a pen or brush, a window a control cannot do without.
class ORV_API CResourceException : public CException {
public:
    CResourceException() noexcept;
    ~CResourceException() override;

    const char* what() const noexcept override;
};
