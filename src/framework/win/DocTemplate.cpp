#include "framework/win/DocTemplate.h"

CDocTemplate::CDocTemplate(DocumentFactory newDocument, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_pNewDocument(newDocument), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CDocument* document = m_pNewDocument != nullptr ? m_pNewDocument() : nullptr;
    if (document != nullptr)
        document->SetDocTemplate(this);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document, HWND parent, DWORD style, const RECT& rect)
{
    CWnd* object = m_pFrameClass != nullptr ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == nullptr) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = document;
    context.m_pNewDocTemplate = this;
    // Kept by this call until the frame stands, so that a failure leaves
    // nothing behind and nothing deleted twice.
    const BOOL autoDelete = frame->m_bAutoDelete;
    frame->m_bAutoDelete = FALSE;
    BOOL created = FALSE;
    try {
        created = frame->Create(document != nullptr ? document->GetTitle().GetString() : "", style, rect, parent,
                                &context);
    } catch (...) {
        delete frame;
        throw;
    }
    if (!created) {
        delete frame;
        return nullptr;
    }
    frame->m_bAutoDelete = autoDelete;
    return frame;
}

CDocument* CDocTemplate::OpenNewDocument(HWND parent, DWORD style, const RECT& rect, BOOL makeVisible)
{
    CDocument* document = CreateNewDocument();
    if (document == nullptr)
        return nullptr;
    // Kept alive by this call until its frame stands.
    const BOOL autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = FALSE;
    CFrameWnd* frame = nullptr;
    try {
        if (document->OnNewDocument())
            frame = CreateNewFrame(document, parent, style & ~WS_VISIBLE, rect);
    } catch (...) {
        delete document;
        throw;
    }
    if (frame == nullptr) {
        delete document;
        return nullptr;
    }
    document->m_bAutoDelete = autoDelete;
    frame->InitialUpdateFrame(document, makeVisible);
    return document;
}
