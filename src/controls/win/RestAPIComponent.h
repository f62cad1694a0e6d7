// The REST API component's COM class and its two interfaces, as the
// component ("RestAPI.dll") registers and implements them.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

// {32C6BA9D-A05F-4CB3-9C1F-40F80819D5B9}
inline constexpr CLSID CLSID_OrvRestAPI = {
    0x32c6ba9d, 0xa05f, 0x4cb3, {0x9c, 0x1f, 0x40, 0xf8, 0x08, 0x19, 0xd5, 0xb9}};
// {B0B0F4F0-3E24-4FEE-864E-10A7B9355F90}
inline constexpr IID IID_IOrvRestAPI = {
    0xb0b0f4f0, 0x3e24, 0x4fee, {0x86, 0x4e, 0x10, 0xa7, 0xb9, 0x35, 0x5f, 0x90}};
// {E01B0B9D-CE87-4C5D-8D78-A0EBE9CBF6BB}
inline constexpr IID IID_IOrvRestAPIShutdown = {
    0xe01b0b9d, 0xce87, 0x4c5d, {0x8d, 0x78, 0xa0, 0xeb, 0xe9, 0xcb, 0xf6, 0xbb}};

// Starts the service listening on networkInterface (empty: every
// interface) and port, under serviceName, for the clients of allowedIpList
// (entries separated by ","; empty: any client). *error receives a BSTR the
// caller frees: empty (or null) on success, else why the service did not
// start.
struct IOrvRestAPI : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Init(BSTR networkInterface, long port, BSTR serviceName, BSTR allowedIpList,
                                           BSTR* error) = 0;
};

// Stops the service.
struct IOrvRestAPIShutdown : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Shutdown() = 0;
};
