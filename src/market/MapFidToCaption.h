// CMapFidToCaption: the caption of each field identifier that the
// application's grids, order tickets and message lists show.
#pragma once

#include "OrvApi.h"
#include "framework/Map.h"
#include "framework/String.h"

// The identifiers fall into ranges: 114-120 message list columns, 1000-1131
// order columns, 2002-2041 quote columns, 5010-5031 account columns,
// 9906-9999 position, option and computed columns, 10000-10004 order
// actions, 10008-10014 times in force, 10020-10021 capacities, 10030-10080
// order types, 20030-20035 ticket commands, 30000-30015 message severities
// and sources, 50000-50012 further position columns.
//
// The library-wide map is filled when the library loads and only read
// afterwards, so any thread may read it.
class ORV_API CMapFidToCaption : public CMap<int, int, CString, const char*> {
public:
    enum { InitialHashSize = 180, CaptionCount = 216 };

    // Filled with every identifier and its caption.
    CMapFidToCaption();

    // The library-wide map.
    static CMapFidToCaption& GetStaticMap();

    // The caption, or the empty text when the identifier is not in the map.
    CString operator[](int fieldId) const;

private:
    static CMapFidToCaption sm_staticMap;
};
