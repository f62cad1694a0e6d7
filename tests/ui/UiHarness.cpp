#include "UiHarness.h"

#include "Screenshot.h"

#include "controls/win/WindowWrappers.h"
#include "framework/win/DC.h"
#include "framework/win/ThreadTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
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

// Absolute coordinates run from 0 to 65535 across the primary screen; the
// system turns them back into pixels rounding down, so each is rounded up
// here to land on the pixel asked for.
void SendMouse(HWND wnd, POINT point, DWORD flags)
{
    if (wnd != nullptr)
        ::ClientToScreen(wnd, &point);
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536 + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

void MoveMouseTo(HWND wnd, POINT clientPoint) { SendMouse(wnd, clientPoint, 0); }

void MouseButtonAt(HWND wnd, POINT clientPoint, bool down)
{
    SendMouse(wnd, clientPoint, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void ClickAt(HWND wnd, POINT clientPoint)
{
    MoveMouseTo(wnd, clientPoint);
    MouseButtonAt(wnd, clientPoint, true);
    MouseButtonAt(wnd, clientPoint, false);
}

void PressKey(WORD key, std::initializer_list<WORD> held)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD down : held)
        add(down, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto up = std::rbegin(held); up != std::rend(held); ++up)
        add(*up, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PostKeys(HWND wnd, const char* keys)
{
    // The key and its scan code; all are keys of the extended set.
    const struct { char code; WORD key; LPARAM scan; } named[] = {
        {'\x01', VK_UP, 0x48}, {'\x02', VK_DOWN, 0x50}, {'\x03', VK_LEFT, 0x4B},
        {'\x04', VK_RIGHT, 0x4D}, {'\x05', VK_INSERT, 0x52}, {'\x7f', VK_DELETE, 0x53},
    };
    for (const char* key = keys; *key != '\0'; ++key) {
        const auto* found = std::find_if(std::begin(named), std::end(named), [&](const auto& n) { return n.code == *key; });
        if (found != std::end(named))
            ::PostMessageA(wnd, WM_KEYDOWN, found->key, 0x01000001 | found->scan << 16);
        else
            ::PostMessageA(wnd, WM_CHAR, static_cast<unsigned char>(*key), 1);
        PumpPending();
    }
}

bool SetClipboardText(HWND owner, const char* text)
{
    if (!::OpenClipboard(owner))
        return false;
    ::EmptyClipboard();
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(memory), text, size);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
    return true;
}

void MouseAway()
{
    SendMouse(nullptr, POINT {::GetSystemMetrics(SM_CXSCREEN) - 10, ::GetSystemMetrics(SM_CYSCREEN) - 10}, 0);
}

void PostClick(HWND wnd, POINT clientPoint)
{
    const LPARAM position = MAKELPARAM(clientPoint.x, clientPoint.y);
    ::PostMessageA(wnd, WM_MOUSEMOVE, 0, position);
    ::PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageA(wnd, WM_LBUTTONUP, 0, position);
}

// ----------------------------------------------------------- screenshots

std::string SaveScreenshot(HWND wnd, const char* name)
{
    PumpPending();
    const char* folder = std::getenv("ORV_SCREENSHOT_DIR");
    std::string path = folder != nullptr && *folder != '\0' ? folder : "screenshots";
    ::CreateDirectoryA(path.c_str(), nullptr);
    path += "\\";
    path += name;
    path += ".png";
    return orv::shot::WriteWindowPng(wnd, path) ? path : std::string();
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

long CountKernelHandles()
{
    // The extended handle table of every process (information class 64).
    struct Entry {
        void* object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT backTrace;
        USHORT type;
        ULONG attributes;
        ULONG reserved;
    };
    struct Table {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr)
        return -1;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt, buffer.resize(buffer.size() * 2)) {
        ULONG needed = 0;
        const LONG status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004)) // the table grew: a larger buffer
            continue;
        if (status != 0)
            return -1;
        const auto* table = reinterpret_cast<const Table*>(buffer.data());
        long count = 0;
        for (ULONG_PTR i = 0; i < table->count; ++i)
            count += table->entries[i].processId == ::GetCurrentProcessId();
        return count;
    }
    return -1;
}

void ExpectNoHandleLeak(const std::function<void()>& cycle, DWORD gdiSlack, int cycles)
{
    // The counts start after the first 20 cycles.
    GuiCounts before {};
    for (int i = 0; i < 20 + cycles; ++i) {
        if (i == 20)
            before = CountGuiHandles();
        cycle();
        PumpPending();
    }
    const GuiCounts after = CountGuiHandles();
    std::printf("x%d: GDI %lu -> %lu, USER %lu -> %lu\n", cycles, before.gdi, after.gdi, before.user, after.user);
    EXPECT_GT(before.gdi, 0u);
    EXPECT_GT(before.user, 0u);
    EXPECT_LE(after.gdi, before.gdi + gdiSlack);
    EXPECT_EQ(after.user, before.user);
}

std::string RaisedBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

void PumpFor(DWORD waitMs)
{
    PumpUntil([] { return false; }, waitMs);
}

bool WaitGone(HWND wnd, DWORD timeoutMs)
{
    return PumpUntil([wnd] { return !::IsWindow(wnd); }, timeoutMs);
}

bool CursorTo(POINT screenPoint)
{
    MoveMouseTo(nullptr, screenPoint);
    return PumpUntil([&] {
        POINT cursor {};
        ::GetCursorPos(&cursor);
        return cursor.x == screenPoint.x && cursor.y == screenPoint.y;
    }, 2000);
}

HWND FindThreadWindow(const char* className, const std::function<bool(HWND)>& accept)
{
    struct Search {
        const char* name;
        const std::function<bool(HWND)>& accept;
        HWND found;
    } search {className, accept, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (lstrcmpiA(CWindowClass(wnd), s->name) != 0 || !::IsWindowVisible(wnd) || (s->accept && !s->accept(wnd)))
                return TRUE;
            s->found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountPixels(HWND wnd, const RECT& rect, COLORREF colour)
{
    CWindowDC dc(wnd);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x)
            count += dc.GetPixel(x, y) == colour ? 1 : 0;
    }
    return count;
}

int LongestRow(HWND wnd, COLORREF colour)
{
    const CClientRect client(wnd);
    int longest = 0;
    for (int y = 0; y < client.bottom; ++y)
        longest = std::max(longest, CountPixels(wnd, CRect(0, y, client.right, y + 1), colour));
    return longest;
}

WhenShown::WhenShown(std::function<HWND()> find, std::function<void(HWND)> act, UINT periodMs)
    : m_find(std::move(find)), m_act(std::move(act)), m_timer(std::make_unique<CThreadTimer>())
{
    m_timer->Start(periodMs, [this] {
        HWND wnd = m_done ? nullptr : m_find();
        if (wnd == nullptr)
            return;
        m_done = true;
        PumpPending();
        m_act(wnd);
    });
}

WhenShown::~WhenShown() = default;

RegistryKeysGone::RegistryKeysGone(HKEY root, std::initializer_list<const char*> keys)
    : m_root(root), m_keys(keys.begin(), keys.end())
{
    for (const std::string& key : m_keys)
        ::RegDeleteTreeA(m_root, key.c_str());
}

RegistryKeysGone::~RegistryKeysGone()
{
    for (const std::string& key : m_keys)
        ::RegDeleteTreeA(m_root, key.c_str());
}

CRect RectInParent(HWND wnd)
{
    return CWindowRect(wnd, ::GetParent(wnd));
}

CRect TestFrameRect()
{
    return CRect(40, 40, 440, 340);
}

} // namespace orv::ui

namespace {

// The common controls the tests use (spin buttons, tool tips) are
// registered once for the test program.
struct CommonControlsInit {
    CommonControlsInit()
    {
        INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
} g_commonControlsInit;

} // namespace
