#pragma once
// The root of the class tree: run-time class records, creation by class name and
// serialisation with a schema number.
//
// A class takes part with one macro pair:
//   header:  DECLARE_DYNAMIC(CFoo)   implementation file:  IMPLEMENT_DYNAMIC(CFoo, CBase)
//            DECLARE_DYNCREATE(CFoo)                        IMPLEMENT_DYNCREATE(CFoo, CBase)
//            DECLARE_SERIAL(CFoo)                           IMPLEMENT_SERIAL(CFoo, CBase, schema)
// DYNCREATE and SERIAL need a default constructor (it may be protected). The IMPLEMENT
// macros register the class by name for the life of the module that holds it, so an
// archive can create it by the name it finds, whichever shared library defines it.
#include "framework/core/WinTypes.h"

#include <memory>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF: not serialisable
    std::unique_ptr<CObject> (*m_pfnCreateObject)(); // null: not creatable
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or null when the class cannot be created by name.
    std::unique_ptr<CObject> CreateObject() const;
    static std::unique_ptr<CObject> CreateObject(const char* lpszClassName);

    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    BOOL IsSerializable() const { return m_wSchema != 0xFFFF && m_pfnCreateObject != nullptr; }

    // The registered class of that exact (case-sensitive) name, or null.
    static const CRuntimeClass* FromName(const char* lpszClassName);
};

// Keeps one class registered by name while the module that defines it is loaded.
class CRuntimeClassRegistration {
public:
    explicit CRuntimeClassRegistration(const CRuntimeClass* pClass);
    ~CRuntimeClassRegistration();
    CRuntimeClassRegistration(const CRuntimeClassRegistration&) = delete;
    CRuntimeClassRegistration& operator=(const CRuntimeClassRegistration&) = delete;

private:
    const CRuntimeClass* m_pClass;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writes or reads this object's own data; the base level holds none.
    virtual void Serialize(CArchive& ar);

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define DECLARE_DYNAMIC(class_name)                 \
public:                                             \
    static const CRuntimeClass class##class_name;   \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static std::unique_ptr<CObject> CreateObject();

// Also declares "ar >> pFoo", which reads an object and insists that it is a CFoo.
#define DECLARE_SERIAL(class_name)  \
    DECLARE_DYNCREATE(class_name)   \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define TALISO_IMPLEMENT_CLASS(class_name, base_class_name, schema, create)                        \
    constinit const CRuntimeClass class_name::class##class_name{                                   \
        #class_name, int(sizeof(class_name)), schema, create, RUNTIME_CLASS(base_class_name)};    \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); } \
    static const CRuntimeClassRegistration s_registration##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    TALISO_IMPLEMENT_CLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define TALISO_IMPLEMENT_CREATE(class_name) \
    std::unique_ptr<CObject> class_name::CreateObject() { return std::unique_ptr<CObject>(new class_name); }

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    TALISO_IMPLEMENT_CREATE(class_name)                  \
    TALISO_IMPLEMENT_CLASS(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                 \
    TALISO_IMPLEMENT_CREATE(class_name)                                                       \
    TALISO_IMPLEMENT_CLASS(class_name, base_class_name, schema, &class_name::CreateObject)   \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                      \
    {                                                                                         \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));             \
        return ar;                                                                            \
    }
