// Exceptions thrown by the framework: CException, CInvalidArgException, CMemoryException.
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
