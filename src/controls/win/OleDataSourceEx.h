// COleDataSourceEx: a drag's data source that also keeps the data helpers
// of the system (drag images, drop descriptions) set on it.
#pragma once

#include "OrvApi.h"
#include "framework/win/OleDragDrop.h"

class ORV_API COleDataSourceEx : public COleDataSource {
protected:
    // Data in a format the base refuses (DATA_E_FORMATETC) is cached under
    // that format, replacing earlier data of the same format, and the call
    // succeeds. A medium the caller keeps (release FALSE) is copied first;
    // one that cannot be copied is refused with the copy's error.
    HRESULT OnSetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
};
