// Test support: the process-wide number settings (the separators and the
// forex lot settings) as they were when the object was made, put back when
// it goes, so that no test leaks its settings into the next.
#pragma once

#include "text/Locale.h"

#include <tuple>

namespace orv_test {

class SavedNumberSettings {
public:
    SavedNumberSettings() = default;
    SavedNumberSettings(const SavedNumberSettings&) = delete;
    SavedNumberSettings& operator=(const SavedNumberSettings&) = delete;
    ~SavedNumberSettings()
    {
        std::tie(CLocale::DecimalSeparator, CLocale::ThousandsSeparator, g_lForexLotSize, g_bForexUseLots) = m_saved;
    }

private:
    const std::tuple<char, char, LONG, BOOL> m_saved {CLocale::DecimalSeparator, CLocale::ThousandsSeparator,
                                                      g_lForexLotSize, g_bForexUseLots};
};

} // namespace orv_test
