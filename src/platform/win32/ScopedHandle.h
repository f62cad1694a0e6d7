// A system handle closed when the scope ends, with the call that closes its
// kind: CFindHandle for FindFirstFile's handles, CProcessHandle for
// OpenProcess's. Null and INVALID_HANDLE_VALUE hold nothing, which covers
// the failure value of either call.
#pragma once

#include "base/Types.h"

namespace platform::win32 {

template <BOOL(WINAPI* Close)(HANDLE)>
class CScopedHandle {
public:
    explicit CScopedHandle(HANDLE handle) noexcept : m_handle(handle) {}
    ~CScopedHandle()
    {
        if (IsValid()) {
            Close(m_handle);
        }
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    bool IsValid() const noexcept { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const noexcept { return m_handle; }

private:
    HANDLE m_handle;
};

using CFindHandle = CScopedHandle<&FindClose>;
using CProcessHandle = CScopedHandle<&CloseHandle>;

} // namespace platform::win32
