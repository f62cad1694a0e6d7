// Test support for the controls' text rules: the process-wide number
// settings saved and restored around each test, and texts written with "."
// turned into the user's decimal separator, so that the same tables run in
// every locale.
#pragma once

#include "text/Locale.h"

#include <gtest/gtest.h>

namespace orv_test {

class NumberSettings : public ::testing::Test {
protected:
    void TearDown() override
    {
        CLocale::DecimalSeparator = m_decimal;
        g_lForexLotSize = m_lotSize;
        g_bForexUseLots = m_useLots;
    }

    // `text` with every "." replaced by the user's decimal separator.
    static CString Localized(const char* text)
    {
        CString out = text;
        out.Replace('.', CLocale::DecimalSeparator);
        return out;
    }

private:
    char m_decimal = CLocale::DecimalSeparator;
    LONG m_lotSize = g_lForexLotSize;
    BOOL m_useLots = g_bForexUseLots;
};

} // namespace orv_test
