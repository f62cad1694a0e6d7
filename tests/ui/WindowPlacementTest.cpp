// A window's placement kept in the registry: the 40-byte image and its read.
#include "UiHarness.h"

#include "framework/Archive.h"
#include "framework/win/Wnd.h"
#include "services/Registry.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cstring>
#include <vector>

using namespace orv::ui;

namespace {

const char* const kKey = "Software\\OrvCommonTests\\WindowPlacement";

// The little-endian 32-bit fields of an image.
std::vector<LONG> Fields(const std::vector<BYTE>& image)
{
    std::vector<LONG> fields(image.size() / 4);
    std::memcpy(fields.data(), image.data(), fields.size() * 4);
    return fields;
}

} // namespace

TEST(WindowPlacement, IsFortyBytesInFieldOrderAndAValueOfAnotherSizeIsRefused)
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    CRegistry registry;
    ASSERT_TRUE(registry.CreateKey(HKEY_CURRENT_USER, kKey));
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Placed", WS_OVERLAPPEDWINDOW, CRect(50, 60, 350, 260), nullptr, 0));

    ASSERT_TRUE(registry.Write("Window", wnd.GetSafeHwnd()));
    BYTE stored[64] = {};
    DWORD type = 0;
    DWORD size = sizeof stored;
    ASSERT_EQ(::RegQueryValueExA(registry.GetKey(), "Window", nullptr, &type, stored, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(size, 40u);
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(wnd, &placement));
    // Flags, show command, minimised x and y, maximised x and y, normal
    // rectangle.
    EXPECT_EQ(Fields(std::vector<BYTE>(stored, stored + 40)),
              (std::vector<LONG> {static_cast<LONG>(placement.flags), static_cast<LONG>(placement.showCmd),
                                  placement.ptMinPosition.x, placement.ptMinPosition.y, placement.ptMaxPosition.x,
                                  placement.ptMaxPosition.y, 50, 60, 350, 260}));

    // The read applies a stored image at once.
    std::vector<LONG> image {0, SW_SHOWNORMAL, -1, -1, -1, -1, 70, 80, 270, 230};
    CByteArray bytes;
    bytes.SetSize(40);
    std::memcpy(bytes.GetData(), image.data(), 40);
    ASSERT_TRUE(registry.Write("Moved", bytes));
    ASSERT_TRUE(registry.Read("Moved", wnd.GetSafeHwnd()));
    EXPECT_EQ(wnd.GetWindowRect(), CRect(70, 80, 270, 230));

    // Longer than the 44-byte read buffer: refused, the window stays.
    bytes.SetSize(48);
    ASSERT_TRUE(registry.Write("Long", bytes));
    EXPECT_FALSE(registry.Read("Long", wnd.GetSafeHwnd()));
    // Shorter than the image: the archive's end of file reaches the caller.
    bytes.SetSize(36);
    ASSERT_TRUE(registry.Write("Short", bytes));
    EXPECT_THROW(registry.Read("Short", wnd.GetSafeHwnd()), CArchiveException);
    EXPECT_EQ(wnd.GetWindowRect(), CRect(70, 80, 270, 230));
    // Of another registry type: refused.
    ASSERT_TRUE(registry.WriteString("Text", "placement"));
    EXPECT_FALSE(registry.Read("Text", wnd.GetSafeHwnd()));

    registry.Close();
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
}
