#include "UiHarness.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <commctrl.h>

namespace orv::ui {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (done())
            return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 20), QS_ALLINPUT);
    }
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

namespace {

void SendMouse(DWORD flags, POINT screen)
{
    INPUT input {};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((screen.x * 65536 + width / 2) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536 + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

void MoveMouseTo(HWND wnd, POINT clientPoint)
{
    ::ClientToScreen(wnd, &clientPoint);
    SendMouse(0, clientPoint);
}

void ClickAt(HWND wnd, POINT clientPoint)
{
    ::ClientToScreen(wnd, &clientPoint);
    SendMouse(0, clientPoint);
    SendMouse(MOUSEEVENTF_LEFTDOWN, clientPoint);
    SendMouse(MOUSEEVENTF_LEFTUP, clientPoint);
}

void PressKey(WORD virtualKey)
{
    INPUT inputs[2] {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void PostClick(HWND wnd, POINT clientPoint)
{
    const LPARAM position = MAKELPARAM(clientPoint.x, clientPoint.y);
    ::PostMessageA(wnd, WM_MOUSEMOVE, 0, position);
    ::PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageA(wnd, WM_LBUTTONUP, 0, position);
}

// ------------------------------------------------------------------- PNG

namespace {

std::uint32_t Crc32(const unsigned char* data, size_t size, std::uint32_t crc = 0)
{
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, data.size() + 4));
}

// A zlib stream of stored (uncompressed) blocks.
std::vector<unsigned char> ZlibStored(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t block = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + block == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<unsigned char>(block & 0xFF));
        out.push_back(static_cast<unsigned char>(block >> 8));
        out.push_back(static_cast<unsigned char>(~block & 0xFF));
        out.push_back(static_cast<unsigned char>((~block >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + block));
        at += block;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

} // namespace

bool WritePng(const std::string& path, int width, int height, const unsigned char* rgb)
{
    if (width <= 0 || height <= 0)
        return false;
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const unsigned char* row = rgb + static_cast<size_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + static_cast<size_t>(width) * 3);
    }
    std::vector<unsigned char> png {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit truecolour
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

std::string SaveScreenshot(HWND wnd, const char* name)
{
    RECT rect {};
    if (!::GetWindowRect(wnd, &rect))
        return {};
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;

    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (dib == nullptr || memory == nullptr) {
        if (dib != nullptr)
            ::DeleteObject(dib);
        if (memory != nullptr)
            ::DeleteDC(memory);
        return {};
    }
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    HDC windowDC = ::GetWindowDC(wnd);
    ::BitBlt(memory, 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd, windowDC);
    ::GdiFlush();

    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = pixels[i * 4 + 2];
        rgb[i * 3 + 1] = pixels[i * 4 + 1];
        rgb[i * 3 + 2] = pixels[i * 4];
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);

    const char* folder = std::getenv("ORV_SCREENSHOT_DIR");
    std::string path = folder != nullptr && *folder != '\0' ? folder : "screenshots";
    ::CreateDirectoryA(path.c_str(), nullptr);
    path += "\\";
    path += name;
    path += ".png";
    return WritePng(path, width, height, rgb.data()) ? path : std::string();
}

// --------------------------------------------------------- handle counts

namespace {

// Counts live handles by probing every slot of the tables: a handle whose
// upper word is zero matches the slot whatever its generation.
DWORD ProbeGdiHandles()
{
    DWORD count = 0;
    for (std::uintptr_t slot = 1; slot < 0x10000; ++slot) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++count;
    }
    return count;
}

BOOL CALLBACK CountWindow(HWND wnd, LPARAM lParam)
{
    auto* count = reinterpret_cast<DWORD*>(lParam);
    ++*count;
    ::EnumChildWindows(wnd, [](HWND, LPARAM inner) {
        ++*reinterpret_cast<DWORD*>(inner);
        return TRUE;
    }, lParam);
    return TRUE;
}

// Windows are counted by enumerating this thread's windows and their
// descendants (probing for them would ask the server slot by slot); menus
// are probed in the table, which the process keeps itself.
DWORD ProbeUserHandles()
{
    DWORD count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    for (std::uintptr_t slot = 0x20; slot < 0x10000; slot += 2) {
        if (::IsMenu(reinterpret_cast<HMENU>(slot)))
            ++count;
    }
    return count;
}

} // namespace

GuiCounts CountGuiHandles()
{
    GuiCounts counts {::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                      ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi == 0)
        counts.gdi = ProbeGdiHandles();
    if (counts.user == 0)
        counts.user = ProbeUserHandles();
    return counts;
}

CString TextOf(HWND wnd)
{
    char text[1024] = "";
    ::GetWindowTextA(wnd, text, sizeof text);
    return CString(text);
}

CRect TestFrameRect()
{
    return CRect(40, 40, 440, 340);
}

} // namespace orv::ui

namespace {

// Under Wine without a window manager, hiding a captioned window waits two
// seconds for the manager that never answers. The tests' windows are left
// unmanaged, for this program only, before the display driver loads.
void UnmanagedWindowsUnderWine()
{
    if (::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr)
        return;
    char program[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, program, sizeof program);
    const char* name = program;
    for (DWORD i = 0; i < length; ++i) {
        if (program[i] == '\\' || program[i] == '/')
            name = program + i + 1;
    }
    std::string key = "Software\\Wine\\AppDefaults\\";
    key += name;
    key += "\\X11 Driver";
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    ::RegCloseKey(handle);
}

// The common controls the tests use (spin buttons, tool tips) are
// registered once for the test program.
struct CommonControlsInit {
    CommonControlsInit()
    {
        UnmanagedWindowsUnderWine();
        INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
} g_commonControlsInit;

} // namespace
