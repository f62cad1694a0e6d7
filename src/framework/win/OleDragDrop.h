// OLE drag and drop: COleDataSource (the data a drag offers, and the modal
// drag loop), COleDropSource (the loop's continue and feedback answers),
// COleDropTarget (a window that accepts drops) and COleDataObject (the
// dropped data as the target sees it).
//
// Each class owns one real COM object (IDataObject, IDropSource,
// IDropTarget) that forwards to it. The COM object may outlive its owner
// when the system or another program still holds a reference; it then
// answers from what it holds (the data source's cache) or refuses.
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "base/Types.h"

#include <ole2.h>

class CWnd;
class COleDataSourceImpl;

using DROPEFFECT = DWORD;

// Initialises OLE (a single-threaded apartment) on the calling thread once;
// later calls answer the first one's result. FALSE when the thread already
// lives in a multithreaded apartment. Drops and drags need it.
ORV_API BOOL AfxOleInit();
// Ends what AfxOleInit began on the calling thread, if anything.
ORV_API void AfxOleTerm();

namespace orv::ole {
// The COM objects of the classes below (and their format enumerators) that
// are still alive in the process: 0 once every reference has been released.
ORV_API LONG LiveObjectCount();
// A medium of the caller's own with the content of `from`: global blocks and
// graphics objects are duplicated, streams and storages shared with a
// reference. DV_E_TYMED for files and other storage types, E_OUTOFMEMORY
// when the copy cannot be made; `to` is then empty.
ORV_API HRESULT CopyMedium(CLIPFORMAT format, const STGMEDIUM& from, STGMEDIUM& to);
} // namespace orv::ole

class ORV_API COleDropSource {
public:
    COleDropSource();
    virtual ~COleDropSource();
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // Asked while the drag loop runs: DRAGDROP_S_CANCEL on Escape,
    // DRAGDROP_S_DROP once no mouse button is down, else S_OK (go on).
    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    // Asked after each answer of the target: the default cursors
    // (DRAGDROP_S_USEDEFAULTCURSORS).
    virtual SCODE GiveFeedback(DROPEFFECT effect);

    // The COM side; no reference is added.
    IDropSource* GetInterface() const noexcept;

private:
    class Impl;
    Impl* m_impl;
};

class ORV_API COleDataSource {
public:
    COleDataSource();
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers the movable global block under the format and takes it over;
    // it replaces a block cached under the same format.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL global);
    // Offers the medium under the format and takes it over, as
    // CacheGlobalData: with the aspect and index of `formatEtc` when given,
    // else the content aspect; the storage type is the medium's.
    void CacheData(CLIPFORMAT format, STGMEDIUM* medium, const FORMATETC* formatEtc = nullptr);
    // Drops every cached format.
    void Empty();

    // Runs the modal drag loop with this data. The effects the drag allows;
    // the source answers the loop's questions (a plain COleDropSource when
    // null). The effect of the drop, DROPEFFECT_NONE when it was cancelled
    // or OLE is not initialised on this thread.
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          COleDropSource* source = nullptr);

    // The COM side; no reference is added.
    IDataObject* GetInterface() const noexcept;

protected:
    friend class COleDataSourceImpl;
    // IDataObject::SetData from a helper of the system or another program.
    // The base takes no data: DATA_E_FORMATETC for every format.
    virtual HRESULT OnSetData(FORMATETC* format, STGMEDIUM* medium, BOOL release);

private:
    COleDataSourceImpl* m_impl;
};

class ORV_API COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Works on the data object; with autoRelease the reference passes to
    // this object, which releases it when it lets go.
    void Attach(IDataObject* data, BOOL autoRelease = TRUE);
    IDataObject* Detach();
    void Release();
    IDataObject* GetIDataObject() const noexcept { return m_data; }

    // Whether the data comes in the format as a global block.
    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // The data in the format as a global block of the caller's (GlobalFree
    // it); null when there is none. A block the data object keeps for
    // itself is copied.
    HGLOBAL GetGlobalData(CLIPFORMAT format) const;
    // The data in the format and any of the storage types; the caller
    // releases the medium (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT format, STGMEDIUM* medium, DWORD tymed = TYMED_HGLOBAL) const;

private:
    IDataObject* m_data = nullptr;
    bool m_autoRelease = false;
};

class ORV_API COleDropTarget {
public:
    COleDropTarget();
    // Revokes the window when it is still registered.
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Makes the window a drop target served by this object until Revoke, the
    // object's end or the window's destruction. FALSE when OLE is not
    // initialised on this thread, the window is registered already or this
    // object serves another window.
    BOOL Register(CWnd* wnd);
    void Revoke();
    HWND GetRegisteredWindow() const noexcept { return m_hWnd; }

    // The target's answers; points are in the window's client coordinates.
    // The defaults refuse the drop.
    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);

private:
    class Impl;
    friend class Impl;
    static LRESULT CALLBACK WatchWindow(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);

    Impl* m_impl;
    CWnd* m_wnd = nullptr;
    HWND m_hWnd = nullptr;
};
