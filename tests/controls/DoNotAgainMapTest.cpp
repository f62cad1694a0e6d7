// The remembered answers' stored bytes and their registry value.
#include "controls/DoNotAgainMap.h"

#include "framework/ArchiveBytes.h"
#include "services/Registry.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Store(CDoNotAgainMap& map)
{
    return orv_test::Stored([&](CArchive& archive) { map.Serialize(archive); });
}

// Loads the bytes; the archive cause of a failure, else -1.
int Load(CDoNotAgainMap& map, std::vector<BYTE> bytes)
{
    return orv_test::CauseOf([&] { orv_test::Load(bytes, [&](CArchive& archive) { map.Serialize(archive); }); });
}

} // namespace

TEST(DoNotAgainMap, StoredBytesAreCountThenPairsAndShortDataKeepsThePairsReadBefore)
{
    CDoNotAgainMap map;
    map.SetAt(7, 1);
    EXPECT_EQ(Store(map), (std::vector<BYTE> {1, 0, 7, 0, 0, 0, 1, 0, 0, 0}));
    map.SetAt(-2, 5);
    CDoNotAgainMap back;
    ASSERT_EQ(Load(back, Store(map)), -1);
    int status = 0;
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_TRUE(back.Lookup(-2, status) && status == 5);
    const struct { std::vector<BYTE> bytes; int pairs; } cases[] = {
        {{3, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2, 0}, 1},
        // A count of 2^32 - 1 behind the escape: nothing is sized by it.
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0, 1, 0, 0, 0}, 1},
        {{}, 0},
    };
    for (const auto& c : cases) {
        CDoNotAgainMap partial;
        EXPECT_EQ(Load(partial, c.bytes), CArchiveException::endOfFile);
        EXPECT_EQ(partial.GetCount(), c.pairs);
    }
}

TEST(DoNotAgainMap, RegistryValueRoundTripsAndBadDataIsLogged)
{
    orv_test::ScratchFolder folder("donotagain");
    orv_test::PrivateRegistry registry(folder.Path());
    orv_test::ScopedEnvironment host("KESTREL_ROOT", folder.Path().string());
    {
        COrvRegistry settings;
        settings.VerifyCreateSettingsGlobal();
        ASSERT_TRUE(settings.Open());
        RegDeleteValueA(settings.GetKey(), "DoNotAgainMap");
    }
    CDoNotAgainMap missing;
    EXPECT_FALSE(missing.LoadFromRegistry());

    CDoNotAgainMap map;
    map.SetAt(42, 1);
    ASSERT_TRUE(map.SaveToRegistry());
    CDoNotAgainMap back;
    EXPECT_TRUE(back.LoadFromRegistry());
    EXPECT_EQ(back.GetCount(), 1);

    COrvRegistry settings;
    ASSERT_TRUE(settings.Open());
    CByteArray bad;
    bad.SetSize(3);
    bad[0] = 5;
    ASSERT_TRUE(settings.Write("DoNotAgainMap", bad));
    CDoNotAgainMap broken;
    EXPECT_FALSE(broken.LoadFromRegistry());
    EXPECT_NE(orv_test::ReadFile(folder / "User" / "logs" / "kestrel.log").find(
                  "Warning: could not read DoNotAgainMap error#3"),
              std::string::npos);
    settings.Write("DoNotAgainMap", CByteArray());
}
