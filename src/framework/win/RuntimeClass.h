// CRuntimeClass: a class factory of window classes, so that a window can be
// made from its class name alone (a dialog template's class, a splitter's
// pane). A class registers itself by name once, at load time, with a
// function that makes a new object; CreateObject makes one by name.
//
//   class CMyStatic : public CStatic { ORV_DECLARE_DYNCREATE(CMyStatic) ... };
//   ORV_IMPLEMENT_DYNCREATE(CMyStatic)            // in one source file
//   CWnd* wnd = CRuntimeClass::CreateObject("CMyStatic");   // caller owns it
//
// Registration is meant for static objects, made before the user-interface
// thread looks classes up; the registry itself is not locked.
#pragma once

#include "OrvApi.h"

class CWnd;

class ORV_API CRuntimeClass {
public:
    using CreateFunction = CWnd* (*)();

    // Registers the class under its name. A name that is already registered
    // keeps its first class: this one is then not registered (IsRegistered).
    // A null or empty name or a null function registers nothing.
    CRuntimeClass(const char* className, CreateFunction create);
    ~CRuntimeClass();
    CRuntimeClass(const CRuntimeClass&) = delete;
    CRuntimeClass& operator=(const CRuntimeClass&) = delete;

    const char* ClassName() const { return m_className; }
    bool IsRegistered() const { return m_registered; }
    // A new object of the class, owned by the caller (without its window).
    CWnd* CreateObject() const;

    // The class registered under the name (case-sensitive), or null.
    static const CRuntimeClass* FromName(const char* className);
    // A new object of the named class, or null when no such class is
    // registered.
    static CWnd* CreateObject(const char* className);

private:
    const char* m_className;
    CreateFunction m_create;
    bool m_registered;
};

// Declares the class's factory entry inside its class body.
#define ORV_DECLARE_DYNCREATE(className)                                                                      \
public:                                                                                                       \
    static const CRuntimeClass& GetThisClass();                                                               \
    const CRuntimeClass* GetRuntimeClass() const override;                                                    \
                                                                                                              \
private:

// Defines the entry and registers it when the module loads.
#define ORV_IMPLEMENT_DYNCREATE(className)                                                                    \
    const CRuntimeClass& className::GetThisClass()                                                            \
    {                                                                                                         \
        static const CRuntimeClass entry(#className, []() -> CWnd* { return new className; });               \
        return entry;                                                                                         \
    }                                                                                                         \
    const CRuntimeClass* className::GetRuntimeClass() const { return &GetThisClass(); }                       \
    namespace {                                                                                               \
    const CRuntimeClass& orvRegistered##className = className::GetThisClass();                                \
    }
