#include "framework/core/CObject.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// Every registered class by name. Modules register at load and unregister at unload,
// so the table never holds a record of a library that is gone.
struct ClassRegistry {
    std::mutex lock;
    std::unordered_map<std::string, const CRuntimeClass*> byName;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

} // namespace

constinit const CRuntimeClass CObject::classCObject{"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
static const CRuntimeClassRegistration s_registrationCObject(&CObject::classCObject);

CRuntimeClassRegistration::CRuntimeClassRegistration(const CRuntimeClass* pClass) : m_pClass(pClass)
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    // The first module to register a name keeps it.
    registry.byName.try_emplace(pClass->m_lpszClassName, pClass);
}

CRuntimeClassRegistration::~CRuntimeClassRegistration()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.byName.find(m_pClass->m_lpszClassName);
    if (found != registry.byName.end() && found->second == m_pClass) registry.byName.erase(found);
}

const CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
    if (!lpszClassName) return nullptr;
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.byName.find(lpszClassName);
    return found == registry.byName.end() ? nullptr : found->second;
}

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

std::unique_ptr<CObject> CRuntimeClass::CreateObject(const char* lpszClassName)
{
    const CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass) return TRUE;
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }
