#include "controls/win/OleDataSourceEx.h"

HRESULT COleDataSourceEx::OnSetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    const HRESULT answer = COleDataSource::OnSetData(format, medium, release);
    if (answer != DATA_E_FORMATETC)
        return answer;
    if (release) {
        CacheData(format->cfFormat, medium, format);
        return S_OK;
    }
    // The caller frees its own medium: caching it as it is would free it a
    // second time.
    STGMEDIUM copy {};
    const HRESULT copied = orv::ole::CopyMedium(format->cfFormat, *medium, copy);
    if (FAILED(copied))
        return copied;
    CacheData(format->cfFormat, &copy, format);
    return S_OK;
}
