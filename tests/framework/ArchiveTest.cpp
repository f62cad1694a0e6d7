#include "framework/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orv_test;
using Bytes = ArchiveBytes;

// Each type little-endian in its own width, strings whole, counts as a
// word or an escaped double word.
TEST(Archive, WritesEachTypeInItsOwnWidth)
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

    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFE); }), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0x12345678); }),
              (Bytes{0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
}

TEST(Archive, StringLengthPrefixGrowsAtEachLimitAndStoresCrossBufferBoundaries)
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

    // The loads across refills are checked by the archive fuzz target's replay.
    // With a 3-byte buffer every multi-byte field straddles a flush.
    const auto store = [](CArchive& ar) {
        for (int i = 0; i < 50; ++i)
            ar << i << LONGLONG(i) * 1000000007 << CString('z', i);
    };
    EXPECT_EQ(Stored(store, 3), Stored(store));
}

TEST(Archive, RefusesTheWrongDirectionAndBadArgumentsAndTheDestructorWritesOutAnUnclosedStore)
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

    CMemFile written;
    {
        CArchive archive(&written, CArchive::store);
        archive << DWORD(1) << DWORD(2);
    }
    EXPECT_EQ(written.GetLength(), 8u);

    CMemFile untouched;
    {
        CArchive archive(&untouched, CArchive::store | CArchive::bNoFlushOnDelete);
        archive << DWORD(1);
    }
    EXPECT_EQ(untouched.GetLength(), 0u);
}

TEST(MemFile, GrowsInStepsReadsBackAndRefusesASeekBeforeTheStart)
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
    EXPECT_THROW(file.Seek(-12, CFile::end), CInvalidArgException);
    EXPECT_EQ(file.GetPosition(), 11u);
    EXPECT_EQ(file.Seek(-1, CFile::current), 10u);
    EXPECT_THROW(file.Seek(0, 7), CInvalidArgException);
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
