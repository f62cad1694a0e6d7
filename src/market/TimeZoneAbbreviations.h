// The abbreviations shown for the workstation's Windows time zone, looked up
// by the zone name Windows reports (its standard or its daylight name).
// Internal to the library: COrvDateTime reads it when the library loads.
#pragma once

#include "platform/SystemTime.h"

// One row: a Windows zone name as it appears in the standard or daylight
// name of the zone information, and the abbreviation shown to the user.
struct ZoneAbbreviation {
    WCHAR name[32];
    WCHAR abbreviation[8];
};

// 149 rows: for each zone "<zone> Daylight Time" then "<zone> Standard Time",
// with one more "Mexico Daylight Time" row after the Mexico pair. A name may
// appear more than once; whoever searches the table lets the last match win.
extern const ZoneAbbreviation kZoneAbbreviations[];
extern const int kZoneAbbreviationCount;
