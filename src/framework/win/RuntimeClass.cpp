#include "framework/win/RuntimeClass.h"

#include <map>
#include <string>

namespace {

// Made on first use, so that registrations from any static object find it.
std::map<std::string, const CRuntimeClass*>& Registry()
{
    static std::map<std::string, const CRuntimeClass*> classes;
    return classes;
}

} // namespace

CRuntimeClass::CRuntimeClass(const char* className, CreateFunction create)
    : m_className(className != nullptr ? className : ""), m_create(create), m_registered(false)
{
    if (*m_className == '\0' || m_create == nullptr)
        return;
    m_registered = Registry().emplace(m_className, this).second;
}

CRuntimeClass::~CRuntimeClass()
{
    if (m_registered)
        Registry().erase(m_className);
}

CWnd* CRuntimeClass::CreateObject() const
{
    return m_create != nullptr ? m_create() : nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className)
{
    if (className == nullptr)
        return nullptr;
    auto& classes = Registry();
    auto found = classes.find(className);
    return found != classes.end() ? found->second : nullptr;
}

CWnd* CRuntimeClass::CreateObject(const char* className)
{
    const CRuntimeClass* entry = FromName(className);
    return entry != nullptr ? entry->CreateObject() : nullptr;
}
