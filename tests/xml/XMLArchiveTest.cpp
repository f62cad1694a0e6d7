// CXMLArchive and CXMLArchivePropExchange: the texts each value type is
// written as, reading them back (also after a trip through document bytes),
// the ISO 8601 reading, and the mode and missing-element rules.
#include "XmlTestSupport.h"

#include "xml/XMLArchive.h"
#include "xml/XMLArchivePropExchange.h"

#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using Element = CExtensibleMarkupLanguageElement;

namespace {

class XMLArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_element = AddElement(m_document.GetRootElement(), "Values");
        m_archive.WriteTo(m_element);
    }

    // Switches the archive to reading what it wrote.
    void Reread() { m_archive.ReadFrom(m_element); }

    // The element written, as the document writes it out, parsed into a
    // second document; the archive then reads from there.
    void RereadFromBytes()
    {
        ASSERT_TRUE(ParseBytes(m_reparsed, Written(m_document))) << ErrorOf(m_reparsed).message;
        Element* values = m_reparsed.GetRootElement()->GetChild("Values");
        ASSERT_NE(values, nullptr);
        m_archive.ReadFrom(values);
    }

    // The value read under name, starting from start (kept when nothing is read).
    template <class T>
    T Back(const char* name, T start = T())
    {
        m_archive.Read(name, start);
        return start;
    }

    CExtensibleMarkupLanguageDocument m_document;
    CExtensibleMarkupLanguageDocument m_reparsed;
    Element* m_element = nullptr;
    CXMLArchive m_archive;
};

SYSTEMTIME Utc(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME time {};
    time.wYear = WORD(year);
    time.wMonth = WORD(month);
    time.wDay = WORD(day);
    time.wHour = WORD(hour);
    time.wMinute = WORD(minute);
    time.wSecond = WORD(second);
    return time;
}

std::string Describe(const SYSTEMTIME& time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u dow %u", time.wYear, time.wMonth, time.wDay,
        time.wHour, time.wMinute, time.wSecond, time.wDayOfWeek);
    return text;
}

std::string Parsed(const char* text)
{
    SYSTEMTIME time {};
    return CXMLArchive::ParseISO8601(text, time) ? Describe(time) : "fails";
}

} // namespace

TEST_F(XMLArchiveTest, NumbersAreWrittenInFixedTextsReadBackExactlyAndForeignTextsConverted)
{
    EXPECT_EQ(TextOf(m_archive.Write("d1", 0.25)), "0.25");
    EXPECT_EQ(TextOf(m_archive.Write("d2", 3.0)), "3.");
    EXPECT_EQ(TextOf(m_archive.Write("d3", -1.5)), "-1.5");
    EXPECT_EQ(TextOf(m_archive.Write("d4", 0.0)), "0.");
    EXPECT_EQ(TextOf(m_archive.Write("l", -1L)), "4294967295");
    EXPECT_EQ(TextOf(m_archive.Write("ul", 4000000000UL)), "4000000000");
    EXPECT_EQ(TextOf(m_archive.Write("b", BYTE(255))), "ff");
    EXPECT_EQ(TextOf(m_archive.Write("b0", BYTE(0))), "0");
    EXPECT_EQ(TextOf(m_archive.Write("t", 7)), "1");
    EXPECT_EQ(TextOf(m_archive.Write("f", 0)), "0");
    EXPECT_EQ(TextOf(m_archive.Write("i64", LLONG_MIN)), "-9223372036854775808");
    EXPECT_EQ(TextOf(m_archive.Write("u64", ULLONG_MAX)), "18446744073709551615");
    EXPECT_EQ(TextOf(m_archive.Write("span", CTimeSpan(1, 0, 0, 5))), "86405");
    EXPECT_EQ(TextOf(m_archive.Write("ospan", COleDateTimeSpan(0, 1, 0, 0) + COleDateTimeSpan(0.6 / 86400))), "3601");
    const double awkward = 0.1 + 0.2; // not exact in fifteen decimals
    m_archive.Write("awkward", awkward);
    m_archive.Write("tiny", 1e-20);
    m_archive.Write("max", DBL_MAX);
    m_archive.Write("lmin", long(INT32_MIN));
    m_archive.Write("ulmax", 4294967295UL);
    m_archive.Write("mixed", BYTE(0xA7));
    m_archive.Write("negative", CTimeSpan(-90));
    m_archive.Write("onegative", COleDateTimeSpan(-2, 0, 0, 1));
    // Texts the archive did not write follow the conversions.
    const char* const texts[][2] = {{"w", "70000"}, {"neg", "-2"}, {"big", "99999999999"}, {"junk", "12abc"},
        {"hex", "0x1F"}, {"flag", "2"}, {"blank", ""}};
    for (const auto& pair : texts) {
        AddElement(m_element, pair[0])->AddText(pair[1]);
    }
    RereadFromBytes();

    EXPECT_EQ(Back<double>("d1"), 0.25);
    EXPECT_EQ(Back<double>("d2"), 3.0);
    EXPECT_EQ(Back<double>("d3"), -1.5);
    EXPECT_EQ(Back<double>("awkward"), awkward);
    EXPECT_EQ(Back<double>("tiny"), 1e-20);
    EXPECT_EQ(Back<double>("max"), DBL_MAX);
    EXPECT_EQ(Back<long>("l"), -1);
    EXPECT_EQ(Back<long>("lmin"), long(INT32_MIN));
    EXPECT_EQ(Back<unsigned long>("ulmax"), 4294967295UL);
    EXPECT_EQ(Back<BYTE>("mixed"), 0xA7);
    EXPECT_EQ(Back<long long>("i64"), LLONG_MIN);
    EXPECT_EQ(Back<unsigned long long>("u64"), ULLONG_MAX);
    EXPECT_EQ(Back<CTimeSpan>("negative").GetTotalSeconds(), -90);
    EXPECT_NEAR(Back<COleDateTimeSpan>("onegative").GetTotalSeconds(), -2 * 86400 + 1, 1e-6);
    EXPECT_EQ(Back<int>("t"), TRUE);
    EXPECT_EQ(Back<float>("d1"), 0.25f);
    EXPECT_EQ(Back<WORD>("w"), 70000 % 65536);
    EXPECT_EQ(Back<long>("neg"), -2);
    EXPECT_EQ(Back<unsigned long>("big"), 4294967295UL);
    EXPECT_EQ(Back<unsigned long>("junk"), 12UL);
    EXPECT_EQ(Back<BYTE>("hex"), 0x1F);
    EXPECT_EQ(Back<int>("flag"), TRUE);
    EXPECT_EQ(Back<double>("blank", 9.0), 0.0);
}

TEST_F(XMLArchiveTest, ModesMissingElementsAndWideNativeLongsLeaveValuesAndTreeAlone)
{
    CXMLArchive fresh;
    EXPECT_TRUE(fresh.IsLoading());
    EXPECT_FALSE(fresh.IsStoring());
    EXPECT_EQ(fresh.GetElement(), nullptr);
    long value = 5;
    EXPECT_EQ(fresh.Read("x", value), nullptr);
    fresh.WriteTo(nullptr);
    EXPECT_EQ(fresh.Write("x", 1L), nullptr);

    m_archive.Write("x", 1L);
#if !defined(_WIN32)
    // Native longs outside 32 bits are refused.
    EXPECT_EQ(m_archive.Write("l", long(INT32_MAX) + 1), nullptr);
    EXPECT_EQ(m_archive.Write("ul", 0x100000000UL), nullptr);
#endif
    EXPECT_EQ(m_archive.Read("x", value), nullptr); // storing
    EXPECT_EQ(value, 5);

    Reread();
    EXPECT_TRUE(m_archive.IsLoading());
    EXPECT_EQ(m_archive.GetElement(), m_element);
    EXPECT_EQ(m_archive.Write("y", 2L), nullptr);
    EXPECT_EQ(m_element->GetNumberOfChildren(), 1u);

    EXPECT_EQ(m_archive.Read("missing", value), nullptr);
    EXPECT_EQ(value, 5);
    COleDateTime when(2001, 2, 3, 4, 5, 6);
    EXPECT_EQ(m_archive.Read("missing", when), nullptr);
    EXPECT_EQ(when, COleDateTime(2001, 2, 3, 4, 5, 6));
    // An array read from a missing element is emptied.
    const auto sizeAfterMissing = [this](auto array) {
        array.Add(1);
        EXPECT_EQ(m_archive.Read("missing", array), nullptr);
        return array.GetSize();
    };
    EXPECT_EQ(sizeAfterMissing(CDWordArray()), 0);
    EXPECT_EQ(sizeAfterMissing(CByteArray()), 0);
}

TEST_F(XMLArchiveTest, ArraysHoldOneEntryElementEachAndTextsAreEscaped)
{
    CDWordArray words;
    CStringArray strings;
    for (DWORD word : {7u, 0xFFFFFFFFu, 0u})
        words.Add(word);
    for (const char* text : {"one", "<two>"})
        strings.Add(text);
    m_archive.SetAddNewLineAfterEachElement(TRUE);
    Element* list = m_archive.Write("Words", words);
    m_archive.Write("Strings", strings);
    ASSERT_NE(list, nullptr);
    // Each ENTRY is followed by its own line break, and so is each array.
    EXPECT_EQ(TreeOf(list), "4<Words>[]{4<ENTRY>[]{5<>[7]{}}5<>[\r\n]{}4<ENTRY>[]{5<>[4294967295]{}}5<>[\r\n]{}"
                            "4<ENTRY>[]{5<>[0]{}}5<>[\r\n]{}}");
    EXPECT_EQ(m_element->GetNumberOfChildren(), 4u);
    EXPECT_NE(Written(m_document).find("<ENTRY>7</ENTRY>\r\n<ENTRY>"), std::string::npos);

    CByteArray bytes;
    for (int i = 0; i < 200; ++i) {
        bytes.Add(BYTE(i * 7));
    }
    m_archive.Write("Bytes", bytes);
    CByteArray empty;
    m_archive.Write("None", empty);
    // Texts are escaped, and markup is written as it is.
    const CString special = "a < b && c > \"d\" 'e'";
    m_archive.Write("s", special);
    m_archive.WriteXML("markup", "<b>bold</b>");
    const std::string written = Written(m_document);
    EXPECT_NE(written.find("<s>a &lt; b &amp;&amp; c &gt; &quot;d&quot; &apos;e&apos;</s>"), std::string::npos)
        << written;
    EXPECT_NE(written.find("<markup><b>bold</b></markup>"), std::string::npos) << written;

    RereadFromBytes();
    CDWordArray wordsBack;
    wordsBack.Add(99);
    CStringArray stringsBack;
    CByteArray bytesBack;
    CByteArray emptyBack;
    emptyBack.Add(1);
    ASSERT_NE(m_archive.Read("Words", wordsBack), nullptr);
    ASSERT_NE(m_archive.Read("Strings", stringsBack), nullptr);
    ASSERT_NE(m_archive.Read("Bytes", bytesBack), nullptr);
    ASSERT_NE(m_archive.Read("None", emptyBack), nullptr);
    EXPECT_EQ(std::vector<DWORD>(wordsBack.GetData(), wordsBack.GetData() + wordsBack.GetSize()),
        (std::vector<DWORD> {7, 0xFFFFFFFF, 0}));
    ASSERT_EQ(stringsBack.GetSize(), 2);
    EXPECT_EQ(stringsBack[1], "<two>");
    EXPECT_EQ(AsString(bytesBack), AsString(bytes));
    EXPECT_EQ(emptyBack.GetSize(), 0);
    CString back;
    EXPECT_NE(m_archive.Read("s", back), nullptr);
    EXPECT_EQ(back, special);
    // A single entry is reachable by its path.
    unsigned long second = 0;
    EXPECT_NE(m_archive.Read("Words.ENTRY(1)", second), nullptr);
    EXPECT_EQ(second, 0xFFFFFFFFUL);
}

TEST(XMLArchiveIso8601, ReadsEachPartConvertsOffsetsToUtcAndRejectsAnythingElse)
{
    EXPECT_EQ(Parsed("2009"), "2009-01-01 00:00:00 dow 4");
    EXPECT_EQ(Parsed("2009-06"), "2009-06-01 00:00:00 dow 1");
    EXPECT_EQ(Parsed("2009-06-15T10"), "2009-06-15 10:00:00 dow 1");
    EXPECT_EQ(Parsed("2009-06-15T10:20Z"), "2009-06-15 10:20:00 dow 1");
    EXPECT_EQ(Parsed("2009-06-15T10:20:30.999Z"), "2009-06-15 10:20:30 dow 1");
    EXPECT_EQ(Parsed("2009-06-15T10:20:30+02:00"), "2009-06-15 08:20:30 dow 1");
    EXPECT_EQ(Parsed("2009-06-15T10:20:30-05:30"), "2009-06-15 15:50:30 dow 1");
    // Offsets carry across days, months and years.
    EXPECT_EQ(Parsed("2009-01-01T01:00:00+02:00"), "2008-12-31 23:00:00 dow 3");
    EXPECT_EQ(Parsed("2008-02-28T23:30:00-01:00"), "2008-02-29 00:30:00 dow 5");
    EXPECT_EQ(Parsed("2009+01:00"), "2008-12-31 23:00:00 dow 3");
    EXPECT_EQ(Parsed("0000-01-01T00:00:00-01:00"), "0000-01-01 01:00:00 dow 6");
    for (const char* text : {"", "200", "20090", "2009-6", "2009-13", "2009-00", "2009-02-29", "2009-04-31",
             "2009-01-01T24", "2009-01-01T10:60", "2009-01-01T10:00:60", "2009-01-01 10:00", "2009-01-01T10:00:00.",
             "2009-01-01T10:00:00Zjunk", "2009-01-01T10:00:00+02", "2009-01-01T10:00:00+0200",
             "2009-01-01T10:00:00+24:00", "2009-01-01T10:00:00+02:60", "2009-01-01T10:00:00 ", " 2009",
             "2009-05:00", "0000-01-01T00:00:00+01:00", "9999-12-31T23:30:00-01:00"}) {
        EXPECT_EQ(Parsed(text), "fails") << '"' << text << '"';
    }
    SYSTEMTIME untouched = Utc(1999, 1, 2, 3, 4, 5);
    EXPECT_FALSE(CXMLArchive::ParseISO8601(nullptr, untouched));
    EXPECT_EQ(untouched.wYear, 1999);
}

TEST_F(XMLArchiveTest, TimesAreWrittenInIso8601AndReadAsUtc)
{
    const COleDateTime clock(2009, 6, 1, 12, 30, 45);
    EXPECT_EQ(TextOf(m_archive.Write("utc", clock, TRUE)), "2009-06-01T12:30:45Z");
    EXPECT_EQ(TextOf(m_archive.Write("local", clock)), "2009-06-01T12:30:45" + std::string(m_archive.GetTimeZoneSuffix()));
    EXPECT_EQ(TextOf(m_archive.Write("sys", Utc(2010, 2, 3, 4, 5, 6))), "2010-02-03T04:05:06Z");
    const CTime instant(1234567890); // 2009-02-13 23:31:30 UTC
    EXPECT_EQ(TextOf(m_archive.Write("ctime", instant, TRUE)), "2009-02-13T23:31:30Z");
    m_archive.Write("ctimeLocal", instant);
    FILETIME file {};
    const SYSTEMTIME fileFields = Utc(2011, 7, 8, 9, 10, 11);
    ASSERT_TRUE(SystemTimeToFileTime(&fileFields, &file));
    m_archive.Write("file", file);
    m_archive.Write("invalid", COleDateTime(2009, 2, 30, 0, 0, 0));
    for (const char* text : {"2009-06-01T12:30:45+02:00", "2009-06-01T12:30:45Z", "2009"}) {
        AddElement(m_element, "given")->AddText(text);
    }
    RereadFromBytes();

    EXPECT_EQ(Back<COleDateTime>("utc"), clock);
    EXPECT_EQ(Back<COleDateTime>("given(0)"), COleDateTime(2009, 6, 1, 10, 30, 45));
    EXPECT_EQ(Back<COleDateTime>("given(1)"), clock);
    EXPECT_EQ(Back<COleDateTime>("given(2)"), COleDateTime(2009, 1, 1, 0, 0, 0));
    EXPECT_EQ(Back<COleDateTime>("invalid", clock).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(Back<CTime>("ctime").GetTime(), instant.GetTime());
    EXPECT_EQ(Back<CTime>("ctimeLocal", CTime(5)).GetTime(), instant.GetTime());

    const FILETIME fileBack = Back<FILETIME>("file");
    EXPECT_EQ(CompareFileTime(&fileBack, &file), 0);
    EXPECT_EQ(Describe(Back<SYSTEMTIME>("sys", Utc(1, 1, 1, 1, 1, 1))), "2010-02-03 04:05:06 dow 3");
}

// The suffix follows the workstation's zone; the test runs in chosen zones
// name the suffix they expect.
TEST(XMLArchiveZone, SuffixFollowsTheWorkstationZone)
{
    CXMLArchive archive;
    const CString suffix = archive.GetTimeZoneSuffix();
    const char* expected = std::getenv("ORV_EXPECTED_ZONE_SUFFIX");
    if (expected != nullptr && *expected != '\0') {
        EXPECT_EQ(std::string(suffix), std::string(expected));
    }
    SYSTEMTIME probe {};
    ASSERT_TRUE(CXMLArchive::ParseISO8601(CString("2009-06-01T12:00:00") + suffix, probe)) << suffix.GetString();
}

TEST_F(XMLArchiveTest, SerializeObjectCallsTheCallersRoutine)
{
    struct Pair { long first; CString second; };
    const XML_ARCHIVE_SERIALIZE_FUNCTION routine = [](CXMLArchive& archive, const CString& name, void* object) -> BOOL {
        auto* pair = static_cast<Pair*>(object);
        if (archive.IsStoring()) {
            return archive.Write(name + "First", pair->first) != nullptr && archive.Write(name + "Second", pair->second) != nullptr;
        }
        return archive.Read(name + "First", pair->first) != nullptr && archive.Read(name + "Second", pair->second) != nullptr;
    };
    Pair pair {42, "answer"};
    EXPECT_FALSE(m_archive.SerializeObject("", &pair, routine));
    EXPECT_FALSE(m_archive.SerializeObject("p", nullptr, routine));
    EXPECT_FALSE(m_archive.SerializeObject("p", &pair, nullptr));
    EXPECT_EQ(m_element->GetNumberOfChildren(), 0u);
    EXPECT_TRUE(m_archive.SerializeObject("p", &pair, routine));
    Reread();
    Pair back {0, ""};
    EXPECT_TRUE(m_archive.SerializeObject("p", &back, routine));
    EXPECT_EQ(back.first, 42);
    EXPECT_EQ(back.second, "answer");
    EXPECT_FALSE(m_archive.SerializeObject("q", &back, routine));
}

TEST_F(XMLArchiveTest, PropertyExchangeStoresAndLoadsEachType)
{
    short i2 = -1, i2Back = 0;
    long i4 = -123456, i4Back = 0;
    float r4 = 1.5f, r4Back = 0;
    double r8 = 0.1, r8Back = 0;
    CY cy {}, cyBack {};
    cy.int64 = -50000; // -5.0000
    CString text = "caption <1>", textBack;
    BOOL flag = TRUE, flagBack = FALSE;
    BYTE byte = 0xC8, byteBack = 0;
    // The size of a plain value, which reads back byte for byte (0: the text).
    const struct { const char* name; VARTYPE type; void* value; void* back; std::size_t size; } props[] = {
        {"I2", VT_I2, &i2, &i2Back, sizeof i2}, {"I4", VT_I4, &i4, &i4Back, sizeof i4},
        {"R4", VT_R4, &r4, &r4Back, sizeof r4}, {"R8", VT_R8, &r8, &r8Back, sizeof r8},
        {"CY", VT_CY, &cy, &cyBack, sizeof cy}, {"BSTR", VT_BSTR, &text, &textBack, 0},
        {"BOOL", VT_BOOL, &flag, &flagBack, sizeof flag}, {"UI1", VT_UI1, &byte, &byteBack, sizeof byte}};
    {
        CXMLArchivePropExchange exchange(m_archive);
        EXPECT_FALSE(exchange.IsLoading());
        for (const auto& prop : props)
            EXPECT_TRUE(exchange.ExchangeProp(prop.name, prop.type, prop.value)) << prop.name;
        DATE date = 1.0;
        EXPECT_FALSE(exchange.ExchangeProp("DATE", VT_DATE, &date));
    }
    // Every type as its text; a currency as two entries; no DATE.
    EXPECT_EQ(TreeOf(m_element), "4<Values>[]{4<I2>[]{5<>[65535]{}}4<I4>[]{5<>[4294843840]{}}4<R4>[]{5<>[1.5]{}}"
                                 "4<R8>[]{5<>[0.1]{}}4<CY>[]{5<>[4294917296]{}}4<CY>[]{5<>[4294967295]{}}"
                                 "4<BSTR>[]{5<>[caption &lt;1&gt;]{}}4<BOOL>[]{5<>[1]{}}4<UI1>[]{5<>[c8]{}}}");

    RereadFromBytes();
    CXMLArchivePropExchange exchange(m_archive);
    EXPECT_TRUE(exchange.IsLoading());
    for (const auto& prop : props) {
        EXPECT_TRUE(exchange.ExchangeProp(prop.name, prop.type, prop.back)) << prop.name;
        EXPECT_EQ(std::memcmp(prop.value, prop.back, prop.size), 0) << prop.name;
    }
    long missing = 77;
    const long fallback = 5;
    EXPECT_FALSE(exchange.ExchangeProp("Missing", VT_I4, &missing, &fallback));
    EXPECT_EQ(textBack, text);
    EXPECT_EQ(missing, 77);
}
