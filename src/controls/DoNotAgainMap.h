// CDoNotAgainMap: the remembered message-box answers, message number to
// status (nonzero = do not show), kept in the registry value
// "DoNotAgainMap" of the product's global settings.
#pragma once

#include "OrvApi.h"
#include "framework/Map.h"
#include "framework/Object.h"

class ORV_API CDoNotAgainMap : public CObject, public CMap<int, int, int, int> {
public:
    CDoNotAgainMap();

    // The archive count of entries, then each message number and status as
    // 32-bit little-endian integers, in hash order. Loading adds each pair
    // as it is read, so an archive that ends early (a CArchiveException)
    // leaves the pairs read before it; the stored count only bounds the
    // loop and never sizes anything.
    void Serialize(CArchive& archive) override;

    // Reads the registry value into the map. A missing key or value is
    // silent; an unreadable one is logged at level 4 with
    // "Warning: could not read DoNotAgainMap error#%x" and the archive's
    // cause code. Returns whether the value was read whole.
    bool LoadFromRegistry();
    // Writes the map to the registry value; a failure is logged with
    // "Warning: could not save DoNotAgainMap error#%x".
    bool SaveToRegistry();
};
