// The texts a symbol drag offers and the reading of dropped text.
#include "controls/SymbolDragText.h"

#include <gtest/gtest.h>


using namespace orv::dragdrop;

TEST(SymbolDragText, DragOffersPlainAndOrvTexts)
{
    const struct { const char* symbol; const char* account; bool offered; const char* plain; const char* orv; } cases[] = {
        {"  ibm ", "A1", true, "IBM", "SYMBOL=IBM|ACCOUNT=A1"},
        {"", "A1", true, "A1", "SYMBOL=|ACCOUNT=A1"},
        {"msft", "", true, "MSFT", "SYMBOL=MSFT|ACCOUNT="},
        // The account is written as given.
        {"eur/usd", " a b ", true, "EUR/USD", "SYMBOL=EUR/USD|ACCOUNT= a b "},
        {"   ", "", false, "", ""},
        {nullptr, nullptr, false, "", ""},
    };
    for (const auto& c : cases) {
        CString plain("old"), orv("old");
        EXPECT_EQ(MakeDragTexts(c.symbol, c.account, plain, orv), c.offered) << c.plain;
        EXPECT_STREQ(plain, c.plain);
        EXPECT_STREQ(orv, c.orv);
    }
}

TEST(SymbolDragText, SymbolReadFromDroppedText)
{
    // Symbol type flags: 1 equity, 2 option, 4 futures, 8 index, 16 forex.
    const ULONG all = 0x1F;
    const struct { const char* text; ULONG flags; const char* symbol; } cases[] = {
        {"NASDAQ:MSFT", all, "MSFT"},
        {"SYMBOL=IBM|ACCOUNT=A1", all, "IBM"},
        {"  symb=ge  ", all, "GE"},
        {"nyse:t", all, "T"},
        {"AMEX:SPY", all, "SPY"},
        {"x S=QQQ", all, "QQQ"},
        // The prefixes are tried in order, wherever they stand.
        {"S=AAA SYMBOL=BBB", all, "BBB"},
        {"brk.b rest", all, "BRK.B REST"},
        {"ibm;x", all, "IBM"},
        // The first character is kept whatever it is.
        {"#AB!", all, "#AB"},
        {"/ESZ2", 4, "/ESZ2"},
        {"$INDU", 8 | 1, "$INDU"},
        {"$COMPQ", 8 | 1, "$COMPQ"},
        {"ABCDEFGHIJKLMNOPQRSTUVWX", all, "ABCDEFGHIJKLMNOPQRSTUVWX"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", all, nullptr},
        {"ACCOUNT", all, nullptr},
        {"|ACCOUNT=A1", all, nullptr},
        {"ACCOUNT=A1", all, nullptr},
        {"SYMBOL=|ACCOUNT=A1", all, nullptr},
        {"SYMBOL=", all, nullptr},
        {"   ", all, nullptr},
        {"", all, nullptr},
        {"/ESZ2", 1, nullptr},
        {"+IBM 250117C00150000", 1, nullptr},
        {"$INDU", 8, nullptr},
    };
    for (const auto& c : cases) {
        CString symbol("old");
        EXPECT_EQ(SymbolFromDragText(c.text, c.flags, symbol), c.symbol != nullptr) << c.text;
        EXPECT_STREQ(symbol, c.symbol != nullptr ? c.symbol : "old") << c.text;
    }
}

TEST(SymbolDragText, AccountReadFromDroppedText)
{
    const struct { const char* text; const char* account; } cases[] = {
        {"SYMBOL=IBM|ACCOUNT=A1", "A1"},
        {"ACCOUNT=ab:cd", "AB;CD"},
        {" account=x_1;2 more", "X_1;2"},
        {"ACCOUNT=", nullptr},
        {"ACCOUNT=|", nullptr},
        {"A1", nullptr},
    };
    for (const auto& c : cases) {
        CString account("old");
        EXPECT_EQ(AccountFromDragText(c.text, account), c.account != nullptr) << c.text;
        EXPECT_STREQ(account, c.account != nullptr ? c.account : "old") << c.text;
    }
}

TEST(SymbolDragText, BlockTextStopsAtZeroOrBlockEndAndCopiesNeedRoomForTheTerminator)
{
    const char unterminated[] = {'I', 'B', 'M'};
    EXPECT_STREQ(TextOfBlock(unterminated, 3), "IBM");
    EXPECT_STREQ(TextOfBlock("GE\0XX", 5), "GE");
    EXPECT_STREQ(TextOfBlock(nullptr, 4), "");
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(CopyToBuffer("ABCD", buffer, 4));
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(CopyToBuffer("ABC", buffer, 4));
    EXPECT_STREQ(buffer, "ABC");
    EXPECT_FALSE(CopyToBuffer("", nullptr, 4));
}
