// Test support for the controls' text rules: the process-wide number
// settings saved and restored around each test, and texts written with "."
// turned into the user's decimal separator, so that the same tables run in
// every locale.
#pragma once

#include "support/SavedNumberSettings.h"
#include "text/Locale.h"

#include <gtest/gtest.h>

namespace orv_test {

class NumberSettings : public ::testing::Test {
protected:
    // `text` with every "." replaced by the user's decimal separator.
    static CString Localized(const char* text)
    {
        CString out = text;
        out.Replace('.', CLocale::DecimalSeparator);
        return out;
    }

private:
    SavedNumberSettings m_saved;
};

} // namespace orv_test
