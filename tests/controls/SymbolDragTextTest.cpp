// The texts a symbol drag offers and the reading of dropped text.
#include "controls/SymbolDragText.h"

#include <gtest/gtest.h>


using namespace orv::dragdrop;

TEST(SymbolDragText, DragOffersPlainAndOrvTextsAndSymbolAndAccountAreReadFromDroppedBlocks)
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

    // Symbol type flags: 1 equity, 2 option, 4 futures, 8 index, 16 forex.
    const ULONG all = 0x1F;
    const struct { const char* text; ULONG flags; const char* symbol; const char* account; } reads[] = {
        {"NASDAQ:MSFT", all, "MSFT", nullptr},
        {"SYMBOL=IBM|ACCOUNT=A1", all, "IBM", "A1"},
        {"  symb=ge  ", all, "GE", nullptr},
        {"nyse:t", all, "T", nullptr},
        {"AMEX:SPY", all, "SPY", nullptr},
        {"x S=QQQ", all, "QQQ", nullptr},
        // The prefixes are tried in order, wherever they stand.
        {"S=AAA SYMBOL=BBB", all, "BBB", nullptr},
        {"brk.b rest", all, "BRK.B REST", nullptr},
        {"ibm;x", all, "IBM", nullptr},
        // The first character is kept whatever it is.
        {"#AB!", all, "#AB", nullptr},
        {"/ESZ2", 4, "/ESZ2", nullptr},
        {"$INDU", 8 | 1, "$INDU", nullptr},
        {"$COMPQ", 8 | 1, "$COMPQ", nullptr},
        {"ABCDEFGHIJKLMNOPQRSTUVWX", all, "ABCDEFGHIJKLMNOPQRSTUVWX", nullptr},
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", all, nullptr, nullptr},
        {"ACCOUNT", all, nullptr, nullptr},
        {"|ACCOUNT=A1", all, nullptr, "A1"},
        {"ACCOUNT=A1", all, nullptr, "A1"},
        {"SYMBOL=|ACCOUNT=A1", all, nullptr, "A1"},
        {"SYMBOL=", all, nullptr, nullptr},
        {"   ", all, nullptr, nullptr},
        {"", all, nullptr, nullptr},
        {"/ESZ2", 1, nullptr, nullptr},
        {"+IBM 250117C00150000", 1, nullptr, nullptr},
        {"$INDU", 8, nullptr, nullptr},
        // The account: after "ACCOUNT=", ':' read as ';', up to the first
        // character an account does not have.
        {"ACCOUNT=ab:cd", all, nullptr, "AB;CD"},
        {" account=x_1;2 more", all, nullptr, "X_1;2"},
        {"ACCOUNT=", all, nullptr, nullptr},
        {"ACCOUNT=|", all, nullptr, nullptr},
        {"A1", all, "A1", nullptr},
    };
    for (const auto& c : reads) {
        CString symbol("old"), account("old");
        EXPECT_EQ(SymbolFromDragText(c.text, c.flags, symbol), c.symbol != nullptr) << c.text;
        EXPECT_STREQ(symbol, c.symbol != nullptr ? c.symbol : "old") << c.text;
        EXPECT_EQ(AccountFromDragText(c.text, account), c.account != nullptr) << c.text;
        EXPECT_STREQ(account, c.account != nullptr ? c.account : "old") << c.text;
    }

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
