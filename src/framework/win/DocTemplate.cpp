#include "framework/win/DocTemplate.h"

#include <memory>

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
    // Owned here, and kept from deleting itself, until the frame stands, so
    // that a failure leaves nothing behind and nothing deleted twice.
    std::unique_ptr<CWnd> object(m_pFrameClass != nullptr ? m_pFrameClass->CreateObject() : nullptr);
    auto* frame = dynamic_cast<CFrameWnd*>(object.get());
    if (frame == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = document;
    context.m_pNewDocTemplate = this;
    const BOOL autoDelete = frame->m_bAutoDelete;
    frame->m_bAutoDelete = FALSE;
    if (!frame->Create(document != nullptr ? document->GetTitle().GetString() : "", style, rect, parent, &context))
        return nullptr;
    frame->m_bAutoDelete = autoDelete;
    object.release();
    return frame;
}

CDocument* CDocTemplate::OpenNewDocument(HWND parent, DWORD style, const RECT& rect, BOOL makeVisible)
{
    // Owned here, and kept from deleting itself, until its frame stands.
    std::unique_ptr<CDocument> document(CreateNewDocument());
    if (document == nullptr)
        return nullptr;
    const BOOL autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = FALSE;
    CFrameWnd* frame = document->OnNewDocument()
        ? CreateNewFrame(document.get(), parent, style & ~WS_VISIBLE, rect) : nullptr;
    if (frame == nullptr)
        return nullptr;
    document->m_bAutoDelete = autoDelete;
    // The frame and its views hold the document from here on.
    CDocument* opened = document.release();
    frame->InitialUpdateFrame(opened, makeVisible);
    return opened;
}
