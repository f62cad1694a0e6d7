#include "framework/win/OleDragDrop.h"

#include "framework/win/Wnd.h"

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

namespace {

std::atomic<LONG> g_liveObjects {0};

// The reference counting and interface lookup of a COM object with one
// interface besides IUnknown. Objects start with one reference, their
// creator's.
template <class I>
class ComObject : public I {
public:
    explicit ComObject(const IID& iid) : m_iid(iid) { ++g_liveObjects; }
    virtual ~ComObject() { --g_liveObjects; }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, m_iid)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

private:
    const IID& m_iid;
    LONG m_refs = 1;
};

HGLOBAL CopyGlobal(HGLOBAL source)
{
    const SIZE_T size = ::GlobalSize(source);
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr)
        return nullptr;
    const void* from = ::GlobalLock(source);
    void* to = ::GlobalLock(copy);
    if (from != nullptr && to != nullptr)
        std::memcpy(to, from, size);
    if (from != nullptr)
        ::GlobalUnlock(source);
    if (to != nullptr)
        ::GlobalUnlock(copy);
    if ((from == nullptr || to == nullptr) && size != 0) {
        ::GlobalFree(copy);
        return nullptr;
    }
    return copy;
}

} // namespace

HRESULT orv::ole::CopyMedium(CLIPFORMAT format, const STGMEDIUM& from, STGMEDIUM& to)
{
    to = STGMEDIUM {};
    to.tymed = from.tymed;
    switch (from.tymed) {
    case TYMED_HGLOBAL:
        to.hGlobal = CopyGlobal(from.hGlobal);
        return to.hGlobal != nullptr ? S_OK : E_OUTOFMEMORY;
    case TYMED_ISTREAM:
    case TYMED_ISTORAGE:
        to.pstm = from.pstm;
        if (to.pstm != nullptr)
            to.pstm->AddRef();
        return S_OK;
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        to.hGlobal = ::OleDuplicateData(from.hGlobal, format, 0);
        return to.hGlobal != nullptr ? S_OK : E_OUTOFMEMORY;
    default:
        to.tymed = TYMED_NULL;
        return DV_E_TYMED;
    }
}

namespace {

bool Matches(const FORMATETC& cached, const FORMATETC& asked)
{
    return cached.cfFormat == asked.cfFormat && cached.dwAspect == asked.dwAspect && (cached.tymed & asked.tymed) != 0;
}

class FormatEnumerator : public ComObject<IEnumFORMATETC> {
public:
    explicit FormatEnumerator(std::vector<FORMATETC> formats, ULONG next = 0)
        : ComObject(IID_IEnumFORMATETC), m_formats(std::move(formats)), m_next(next)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override
    {
        if (out == nullptr || (fetched == nullptr && count != 1))
            return E_INVALIDARG;
        ULONG done = 0;
        for (; done < count && m_next < m_formats.size(); ++done)
            out[done] = m_formats[m_next++];
        if (fetched != nullptr)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        const ULONG left = static_cast<ULONG>(m_formats.size()) - m_next;
        m_next += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = new FormatEnumerator(m_formats, m_next);
        return S_OK;
    }

private:
    std::vector<FORMATETC> m_formats; // never with a target device
    ULONG m_next;
};

struct OleThreadState {
    bool asked = false;
    bool initialised = false;
};

thread_local OleThreadState t_ole;

} // namespace

BOOL AfxOleInit()
{
    if (!t_ole.asked) {
        t_ole.asked = true;
        t_ole.initialised = SUCCEEDED(::OleInitialize(nullptr));
    }
    return t_ole.initialised;
}

void AfxOleTerm()
{
    if (t_ole.initialised)
        ::OleUninitialize();
    t_ole = OleThreadState {};
}

LONG orv::ole::LiveObjectCount()
{
    return g_liveObjects.load();
}

// ---- the data source's IDataObject ------------------------------------------

class COleDataSourceImpl : public ComObject<IDataObject> {
public:
    explicit COleDataSourceImpl(COleDataSource* owner) : ComObject(IID_IDataObject), m_owner(owner) {}
    ~COleDataSourceImpl() override { Empty(); }

    void Detach() { m_owner = nullptr; }

    void Cache(const FORMATETC& format, const STGMEDIUM& medium)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->format.cfFormat == format.cfFormat && it->format.dwAspect == format.dwAspect &&
                it->format.tymed == format.tymed) {
                ::ReleaseStgMedium(&it->medium);
                m_entries.erase(it);
                break;
            }
        }
        m_entries.push_back({format, medium});
    }

    void Empty()
    {
        for (Entry& entry : m_entries)
            ::ReleaseStgMedium(&entry.medium);
        m_entries.clear();
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format == nullptr || medium == nullptr)
            return E_INVALIDARG;
        const Entry* entry = Find(*format);
        if (entry == nullptr)
            return Missing(*format);
        return orv::ole::CopyMedium(entry->format.cfFormat, entry->medium, *medium);
    }
    // Data is handed out in new media only.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (format == nullptr)
            return E_INVALIDARG;
        return Find(*format) != nullptr ? S_OK : Missing(*format);
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override
    {
        if (in == nullptr || out == nullptr)
            return E_INVALIDARG;
        *out = *in;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override
    {
        if (format == nullptr || medium == nullptr)
            return E_INVALIDARG;
        return m_owner != nullptr ? m_owner->OnSetData(format, medium, release) : DATA_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& entry : m_entries)
            formats.push_back(entry.format);
        *out = new FormatEnumerator(std::move(formats));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };

    const Entry* Find(const FORMATETC& format) const
    {
        for (const Entry& entry : m_entries) {
            if (Matches(entry.format, format))
                return &entry;
        }
        return nullptr;
    }
    // A format offered only in other storage types is DV_E_TYMED.
    HRESULT Missing(const FORMATETC& format) const
    {
        for (const Entry& entry : m_entries) {
            if (entry.format.cfFormat == format.cfFormat)
                return DV_E_TYMED;
        }
        return DV_E_FORMATETC;
    }

    COleDataSource* m_owner;
    std::vector<Entry> m_entries;
};

COleDataSource::COleDataSource() : m_impl(new COleDataSourceImpl(this)) {}

COleDataSource::~COleDataSource()
{
    m_impl->Detach();
    m_impl->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL global)
{
    STGMEDIUM medium {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = global;
    CacheData(format, &medium);
}

void COleDataSource::CacheData(CLIPFORMAT format, STGMEDIUM* medium, const FORMATETC* formatEtc)
{
    if (medium == nullptr)
        return;
    FORMATETC cached {format, nullptr, DVASPECT_CONTENT, -1, medium->tymed};
    if (formatEtc != nullptr) {
        cached.dwAspect = formatEtc->dwAspect;
        cached.lindex = formatEtc->lindex;
    }
    m_impl->Cache(cached, *medium);
}

void COleDataSource::Empty()
{
    m_impl->Empty();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, COleDropSource* source)
{
    COleDropSource plain;
    if (source == nullptr)
        source = &plain;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(m_impl, source->GetInterface(), effects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

IDataObject* COleDataSource::GetInterface() const noexcept
{
    return m_impl;
}

HRESULT COleDataSource::OnSetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return DATA_E_FORMATETC;
}

// ---- the drop source's IDropSource --------------------------------------------

class COleDropSource::Impl : public ComObject<IDropSource> {
public:
    explicit Impl(COleDropSource* owner) : ComObject(IID_IDropSource), m_owner(owner) {}
    void Detach() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        return m_owner != nullptr ? m_owner->QueryContinueDrag(escapePressed, keyState) : DRAGDROP_S_CANCEL;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        return m_owner != nullptr ? m_owner->GiveFeedback(effect) : DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    COleDropSource* m_owner;
};

COleDropSource::COleDropSource() : m_impl(new Impl(this)) {}

COleDropSource::~COleDropSource()
{
    m_impl->Detach();
    m_impl->Release();
}

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if ((keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

IDropSource* COleDropSource::GetInterface() const noexcept
{
    return m_impl;
}

// ---- the receiving side's data object -----------------------------------------

COleDataObject::~COleDataObject()
{
    Release();
}

void COleDataObject::Attach(IDataObject* data, BOOL autoRelease)
{
    Release();
    m_data = data;
    m_autoRelease = autoRelease != FALSE;
}

IDataObject* COleDataObject::Detach()
{
    IDataObject* data = m_data;
    m_data = nullptr;
    m_autoRelease = false;
    return data;
}

void COleDataObject::Release()
{
    if (m_data != nullptr && m_autoRelease)
        m_data->Release();
    m_data = nullptr;
    m_autoRelease = false;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const
{
    if (m_data == nullptr)
        return FALSE;
    FORMATETC formatEtc {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return m_data->QueryGetData(&formatEtc) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, STGMEDIUM* medium, DWORD tymed) const
{
    if (m_data == nullptr || medium == nullptr)
        return FALSE;
    FORMATETC formatEtc {format, nullptr, DVASPECT_CONTENT, -1, tymed};
    *medium = STGMEDIUM {};
    if (FAILED(m_data->GetData(&formatEtc, medium)))
        return FALSE;
    if ((medium->tymed & tymed) == 0) {
        ::ReleaseStgMedium(medium);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format) const
{
    STGMEDIUM medium {};
    if (!GetData(format, &medium, TYMED_HGLOBAL))
        return nullptr;
    if (medium.pUnkForRelease == nullptr)
        return medium.hGlobal;
    // The data object keeps that block: hand out a copy.
    HGLOBAL copy = CopyGlobal(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return copy;
}

// ---- the drop target's IDropTarget --------------------------------------------

class COleDropTarget::Impl : public ComObject<IDropTarget> {
public:
    explicit Impl(COleDropTarget* owner) : ComObject(IID_IDropTarget), m_owner(owner) {}
    ~Impl() override { m_data.Release(); }
    void Detach()
    {
        m_owner = nullptr;
        m_data.Release();
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        if (effect == nullptr)
            return E_INVALIDARG;
        m_data.Release();
        if (data != nullptr)
            data->AddRef();
        m_data.Attach(data);
        return Answer(effect, [&](CWnd* wnd, CPoint client) {
            return m_owner->OnDragEnter(wnd, &m_data, keyState, client);
        }, point);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override
    {
        if (effect == nullptr)
            return E_INVALIDARG;
        return Answer(effect, [&](CWnd* wnd, CPoint client) {
            return m_owner->OnDragOver(wnd, &m_data, keyState, client);
        }, point);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (m_owner != nullptr)
            m_owner->OnDragLeave(m_owner->m_wnd);
        m_data.Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        if (effect == nullptr)
            return E_INVALIDARG;
        (void)keyState;
        m_data.Release();
        if (data != nullptr)
            data->AddRef();
        m_data.Attach(data);
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (m_owner != nullptr && m_owner->m_hWnd != nullptr) {
            CPoint client(point.x, point.y);
            ::ScreenToClient(m_owner->m_hWnd, &client);
            // The drop is offered the effect the last drag-over chose.
            const DROPEFFECT chosen = m_lastEffect & allowed;
            if (chosen != DROPEFFECT_NONE && m_owner->OnDrop(m_owner->m_wnd, &m_data, chosen, client))
                *effect = chosen;
        }
        m_data.Release();
        return S_OK;
    }

private:
    template <class Ask>
    HRESULT Answer(DWORD* effect, Ask ask, POINTL point)
    {
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (m_owner != nullptr && m_owner->m_hWnd != nullptr) {
            CPoint client(point.x, point.y);
            ::ScreenToClient(m_owner->m_hWnd, &client);
            *effect = ask(m_owner->m_wnd, client) & allowed;
        }
        m_lastEffect = *effect;
        return S_OK;
    }

    COleDropTarget* m_owner;
    COleDataObject m_data;
    DWORD m_lastEffect = DROPEFFECT_NONE;
};

COleDropTarget::COleDropTarget() : m_impl(new Impl(this)) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    m_impl->Detach();
    m_impl->Release();
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (m_hWnd != nullptr || wnd == nullptr || wnd->GetSafeHwnd() == nullptr)
        return FALSE;
    HWND hWnd = wnd->GetSafeHwnd();
    if (FAILED(::RegisterDragDrop(hWnd, m_impl)))
        return FALSE;
    // Revoked when the window goes: OLE holds a reference until then.
    ::SetWindowSubclass(hWnd, WatchWindow, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    m_wnd = wnd;
    m_hWnd = hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == nullptr)
        return;
    ::RemoveWindowSubclass(m_hWnd, WatchWindow, reinterpret_cast<UINT_PTR>(this));
    ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_wnd = nullptr;
}

LRESULT CALLBACK COleDropTarget::WatchWindow(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data)
{
    if (message == WM_DESTROY)
        reinterpret_cast<COleDropTarget*>(data)->Revoke();
    return ::DefSubclassProc(wnd, message, wParam, lParam);
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}
