// CDocTemplate: makes a document with its frame and view, from a document
// factory and the frame's and view's registered classes.
#pragma once

#include "OrvApi.h"
#include "framework/win/FrameWnd.h"

class ORV_API CDocTemplate {
public:
    using DocumentFactory = CDocument* (*)();

    CDocTemplate(DocumentFactory newDocument, const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);
    virtual ~CDocTemplate() = default;
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    const CRuntimeClass* GetViewClass() const noexcept { return m_pViewClass; }
    void SetViewClass(const CRuntimeClass* viewClass) noexcept { m_pViewClass = viewClass; }

    // A new document of the template, or null.
    virtual CDocument* CreateNewDocument();
    // A new frame of the template's frame class for the document, with a
    // view of the view class as its client; null when it could not be made.
    virtual CFrameWnd* CreateNewFrame(CDocument* document, HWND parent, DWORD style, const RECT& rect);
    // A new document with its frame and view, initially updated and shown
    // when asked. The frame owns the views, and the views the document: the
    // document goes with the frame's window. Null, with nothing left
    // behind, when any step fails.
    virtual CDocument* OpenNewDocument(HWND parent, DWORD style, const RECT& rect, BOOL makeVisible = TRUE);

protected:
    DocumentFactory m_pNewDocument;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

// The factory of a document class, for CDocTemplate.
template <class TDocument>
CDocument* NewDocument()
{
    return new TDocument;
}
