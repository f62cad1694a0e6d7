#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/MemFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// The bytes a storing archive leaves in a memory file.
Bytes Stored(const std::function<void(CArchive&)>& store, int bufferSize = 4096)
{
    CMemFile file(16);
    CArchive archive(&file, CArchive::store, bufferSize);
    store(archive);
    archive.Close();
    Bytes bytes(static_cast<std::size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

void Load(Bytes bytes, const std::function<void(CArchive&)>& load, int bufferSize = 4096)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load, bufferSize);
    load(archive);
}

int CauseOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CArchiveException& error) {
        return error.m_cause;
    }
    return -1;
}

} // namespace

TEST(Archive, WritesEachTypeLittleEndianInItsOwnWidthAndStringsWhole)
{
    const Bytes bytes = Stored([](CArchive& ar) {
        ar << BYTE(0xAB) << WORD(0x1234) << LONG(-2) << DWORD(0x89ABCDEF) << LONGLONG(0x0102030405060708) << true
           << 1.5f << -2.0;
    });
    const Bytes expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89,
                            0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x01,
                            0x00, 0x00, 0xC0, 0x3F,                          // 1.5f
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0}; // -2.0
    EXPECT_EQ(bytes, expected);
    // long is 32-bit on Windows; natively it is LONGLONG itself and keeps 64 bits.
    EXPECT_EQ(Stored([](CArchive& ar) { ar << long(-1); }).size(), sizeof(long));
    // A string keeps its embedded NUL bytes.
    EXPECT_EQ(Stored([](CArchive& ar) { ar << CString("a\0b", 3); }), (Bytes{0x03, 'a', 0x00, 'b'}));
}

// Stores the values in order, loads them into default-made ones of the same
// types and compares.
template <class... T>
void ExpectReadBack(const T&... values)
{
    const Bytes bytes = Stored([&](CArchive& ar) { ((ar << values), ...); });
    Load(bytes, [&](CArchive& ar) {
        std::tuple<T...> back;
        std::apply([&](auto&... loaded) { ((ar >> loaded), ...); }, back);
        EXPECT_TRUE(back == std::make_tuple(values...));
    });
}

TEST(Archive, ReadsBackWhatItWrote)
{
    ExpectReadBack(BYTE(7), WORD(65535), short(-300), int(-123456), UINT(4000000000u), LONG(-5), DWORD(0xFFFFFFFF),
                   LONGLONG(-9000000000000000000), ULONGLONG(18000000000000000000ull), false, 'x', 3.25f, 1e300,
                   CString("caf\xE9"), CString("a\0b", 3));
    // Any nonzero byte loads as true.
    Load({0x02, 0x00}, [](CArchive& ar) {
        bool first = false, second = true;
        ar >> first >> second;
        EXPECT_TRUE(first && !second);
    });
}

TEST(Archive, CountsUseAWordOrAnEscapedDword)
{
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFE); }), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0x12345678); }),
              (Bytes{0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
    Load({0x05, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadCount(), 5u);
        EXPECT_EQ(ar.ReadCount(), 0x10000u);
    });
}

TEST(Archive, StringLengthPrefixGrowsAtEachLimit)
{
    struct Case { int length; Bytes prefix; };
    const Case cases[] = {
        {0, {0x00}}, {254, {0xFE}}, {255, {0xFF, 0xFF, 0x00}}, {0xFFFE, {0xFF, 0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}}, {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const CString text('q', c.length);
        const Bytes bytes = Stored([&](CArchive& ar) { ar << text; }, 100);
        ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<std::size_t>(c.length)) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.prefix.size())), c.prefix)
            << c.length;
        Load(bytes, [&](CArchive& ar) {
            CString back;
            ar >> back;
            EXPECT_EQ(back, text) << c.length;
        }, 7);
    }
}

TEST(Archive, LoadingPastTheEndThrowsEndOfFileAndLeavesTheTarget)
{
    int value = 99;
    EXPECT_EQ(CauseOf([&] { Load({1, 2, 3}, [&](CArchive& ar) { ar >> value; }); }), CArchiveException::endOfFile);
    EXPECT_EQ(value, 99);

    // A string whose length claims more than the data holds.
    CString text("before");
    EXPECT_EQ(CauseOf([&] { Load({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'}, [&](CArchive& ar) { ar >> text; }); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(text, "before");

    EXPECT_EQ(CauseOf([&] { Load({0xFF, 0x01}, [](CArchive& ar) { ar.ReadCount(); }); }), -1);
    EXPECT_EQ(CauseOf([&] { Load({0xFF, 0xFF, 0x01}, [](CArchive& ar) { ar.ReadCount(); }); }),
              CArchiveException::endOfFile);

    // The raw read reports a short read instead of throwing.
    Load({1, 2}, [](CArchive& ar) {
        BYTE buffer[4] = {};
        EXPECT_EQ(ar.Read(buffer, 4), 2u);
    });
}

TEST(Archive, ValuesCrossBufferBoundaries)
{
    // With a 3-byte buffer every multi-byte field straddles a refill.
    const Bytes bytes = Stored([](CArchive& ar) {
        for (int i = 0; i < 50; ++i)
            ar << i << LONGLONG(i) * 1000000007 << CString('z', i);
    }, 3);
    Load(bytes, [](CArchive& ar) {
        for (int i = 0; i < 50; ++i) {
            int a = -1;
            LONGLONG b = -1;
            CString c;
            ar >> a >> b >> c;
            ASSERT_EQ(a, i);
            ASSERT_EQ(b, LONGLONG(i) * 1000000007);
            ASSERT_EQ(c, CString('z', i));
        }
    }, 3);
}

TEST(Archive, RefusesTheWrongDirectionAndBadArguments)
{
    CMemFile file;
    {
        CArchive storing(&file, CArchive::store);
        int value = 0;
        EXPECT_EQ(CauseOf([&] { storing >> value; }), CArchiveException::writeOnly);
    }
    {
        CArchive loading(&file, CArchive::load);
        EXPECT_EQ(CauseOf([&] { loading << 1; }), CArchiveException::readOnly);
    }
    EXPECT_THROW(CArchive(nullptr, CArchive::load), CInvalidArgException);
    EXPECT_THROW(CArchive(&file, CArchive::load, 0), CInvalidArgException);
}

TEST(Archive, DestructorWritesOutAnUnclosedStore)
{
    CMemFile file;
    {
        CArchive archive(&file, CArchive::store);
        archive << DWORD(1) << DWORD(2);
    }
    EXPECT_EQ(file.GetLength(), 8u);

    CMemFile untouched;
    {
        CArchive archive(&untouched, CArchive::store | CArchive::bNoFlushOnDelete);
        archive << DWORD(1);
    }
    EXPECT_EQ(untouched.GetLength(), 0u);
}

TEST(MemFile, GrowsInStepsAndReadsBack)
{
    CMemFile file(1024);
    const char text[] = "hello";
    file.Write(text, 5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    // A gap left by seeking past the end reads back as zeros.
    file.Seek(10, CFile::begin);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), 11u);
    file.SeekToBegin();
    char back[11] = {};
    EXPECT_EQ(file.Read(back, 20), 11u);
    EXPECT_EQ(std::memcmp(back, "hello\0\0\0\0\0!", 11), 0);
    EXPECT_EQ(file.Read(back, 1), 0u);
}

TEST(MemFile, FixedBufferIsTheWholeFileAndCannotGrow)
{
    BYTE buffer[4] = {1, 2, 3, 4};
    CMemFile file(buffer, 4);
    EXPECT_EQ(file.GetLength(), 4u);
    file.Seek(2, CFile::begin);
    file.Write("\x09", 1);
    EXPECT_EQ(buffer[2], 9); // written in place
    EXPECT_THROW(file.Write("abc", 3), CMemoryException);
    EXPECT_EQ(buffer[3], 4); // nothing of the refused write landed
    EXPECT_EQ(file.GetPosition(), 3u);
}

TEST(MemFile, GrowableAttachedBufferIsLeftAloneOnceOutgrown)
{
    BYTE buffer[2] = {0, 0};
    CMemFile file(buffer, 2, 8);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("ab", 2);
    EXPECT_EQ(buffer[0], 'a');
    file.Write("cdef", 4);
    EXPECT_EQ(file.GetLength(), 6u);
    file.SeekToBegin();
    file.Write("X", 1);
    EXPECT_EQ(buffer[0], 'a'); // the file now writes its own copy
    char back[6] = {};
    file.SeekToBegin();
    file.Read(back, 6);
    EXPECT_EQ(std::memcmp(back, "Xbcdef", 6), 0);
}

TEST(MemFile, SeekBeforeTheStartIsRefused)
{
    CMemFile file;
    file.Write("abc", 3);
    EXPECT_THROW(file.Seek(-4, CFile::end), CInvalidArgException);
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(file.Seek(-1, CFile::current), 2u);
    EXPECT_THROW(file.Seek(0, 7), CInvalidArgException);
}
