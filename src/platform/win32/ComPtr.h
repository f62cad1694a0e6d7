// CComPtr: an owning COM interface pointer. Copies add a reference, the
// end of its life gives one back, so an early return cannot leak an
// interface or release it twice. Create and QueryInterface fill it from the
// two ways an interface is obtained.
#pragma once

#include "base/Types.h"

#include <objbase.h>
#include <utility>

namespace platform::win32 {

template <class T>
class CComPtr {
public:
    CComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    static CComPtr Adopt(T* object) noexcept
    {
        CComPtr pointer;
        pointer.m_object = object;
        return pointer;
    }
    CComPtr(const CComPtr& other) noexcept : m_object(other.m_object)
    {
        if (m_object != nullptr) {
            m_object->AddRef();
        }
    }
    CComPtr(CComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~CComPtr() { Release(); }

    // Creates an instance of the class and asks it for this interface.
    // The pointer is empty when the result is a failure.
    HRESULT Create(REFCLSID classId, REFIID interfaceId, DWORD context = CLSCTX_ALL) noexcept
    {
        Release();
        const HRESULT result =
            ::CoCreateInstance(classId, nullptr, context, interfaceId, reinterpret_cast<void**>(&m_object));
        return Checked(result);
    }

    // Asks the object for another of its interfaces.
    template <class U>
    HRESULT QueryInterface(REFIID interfaceId, CComPtr<U>& result) const noexcept
    {
        result.Release();
        if (m_object == nullptr) {
            return E_POINTER;
        }
        return result.Checked(m_object->QueryInterface(interfaceId, reinterpret_cast<void**>(result.Receive())));
    }

    void Release() noexcept
    {
        if (m_object != nullptr) {
            std::exchange(m_object, nullptr)->Release();
        }
    }

    T* Get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }

private:
    template <class>
    friend class CComPtr;

    T** Receive() noexcept { return &m_object; }
    // A success that brought no object is a failure too.
    HRESULT Checked(HRESULT result) noexcept
    {
        if (FAILED(result)) {
            m_object = nullptr;
            return result;
        }
        return m_object != nullptr ? result : E_NOINTERFACE;
    }

    T* m_object = nullptr;
};

} // namespace platform::win32
