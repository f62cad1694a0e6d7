// The drop-target glue of the condition controls: ICondDropTargetCallback,
// implemented by the window that owns the controls, and
// TCondDropTargetImpl<T>, mixed into a control class T (a CWnd) to make the
// control's window a drop target that forwards to the callback.
#pragma once

#include "framework/win/OleDragDrop.h"
#include "framework/win/Wnd.h"

class ICondDropTargetCallback {
public:
    virtual ~ICondDropTargetCallback() = default;
    // The effect a drop here would have; asked on entering and moving over a
    // control. The point is in the control's client coordinates.
    virtual DROPEFFECT OnCondDragOver(COleDataObject* data, DWORD keyState, CPoint point) = 0;
    virtual void OnCondDragLeave() = 0;
    // Takes the drop; whether it was taken.
    virtual BOOL OnCondDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) = 0;
};

template <class T>
class TCondDropTargetImpl {
public:
    explicit TCondDropTargetImpl(ICondDropTargetCallback* callback) : m_target(*this), m_callback(callback) {}
    virtual ~TCondDropTargetImpl() = default;

    // Makes the control's window a drop target, once it has a window.
    BOOL Register() { return m_target.Register(static_cast<T*>(this)); }

    virtual DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
    {
        return m_callback != nullptr ? m_callback->OnCondDragOver(data, keyState, point) : DROPEFFECT_NONE;
    }
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
    {
        return OnDragEnter(wnd, data, keyState, point);
    }
    // Leaving a control tells the callback nothing: the next control's
    // drag-over answer, or the drop, follows.
    virtual void OnDragLeave(CWnd*) {}
    virtual BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point)
    {
        return m_callback != nullptr && m_callback->OnCondDrop(data, effect, point);
    }

private:
    // The drop target bound to the control, answering through it.
    class Target : public COleDropTarget {
    public:
        explicit Target(TCondDropTargetImpl& owner) : m_owner(owner) {}
        DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override
        {
            return m_owner.OnDragEnter(wnd, data, keyState, point);
        }
        DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override
        {
            return m_owner.OnDragOver(wnd, data, keyState, point);
        }
        void OnDragLeave(CWnd* wnd) override { m_owner.OnDragLeave(wnd); }
        BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override
        {
            return m_owner.OnDrop(wnd, data, effect, point);
        }

    private:
        TCondDropTargetImpl& m_owner;
    };

    Target m_target;
    ICondDropTargetCallback* m_callback;
};
