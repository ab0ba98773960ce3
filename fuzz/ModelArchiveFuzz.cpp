// Feeds arbitrary archive bytes to every serialisable class of the model (and the
// collections and simulated devices whose files come from outside). The first input byte
// picks the class; with bit 7 set the object is read by pointer (class header in the
// data, as documents hold their objects), else its Serialize reads the data directly.
// An object that loads must store and load again to the same bytes.
#include "FuzzArchive.h"

#include "framework/core/CArray.h"
#include "framework/core/CList.h"
#include "model/ArchiveOwnership.h"
#include "model/CAngle.h"
#include "model/CArcShelter.h"
#include "model/CBShelter.h"
#include "model/CBaseShelter.h"
#include "model/CBeamArray.h"
#include "model/CCShelter.h"
#include "model/CEditShelter.h"
#include "model/CKVRConfig.h"
#include "model/CKVRConfigList.h"
#include "model/CKVRControlConfig.h"
#include "model/CKVRSensorConfig.h"
#include "model/CKVRShelterConfig.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"
#include "model/CShelterInfo.h"
#include "model/CSpeed.h"
#include "model/CTalsData.h"
#include "model/CWordScopeArray.h"
#include "model/CZOKConfig.h"

#include <array>

namespace {

const std::array kClasses = {
    RUNTIME_CLASS(CSensorType),       RUNTIME_CLASS(CAngle),           RUNTIME_CLASS(CSpeed),
    RUNTIME_CLASS(CBeamArray),        RUNTIME_CLASS(CWordScopeArray),  RUNTIME_CLASS(CTalsData),
    RUNTIME_CLASS(CShelterInfo),      RUNTIME_CLASS(CScan),            RUNTIME_CLASS(CShelter),
    RUNTIME_CLASS(CArcShelter),       RUNTIME_CLASS(CRectShelter),     RUNTIME_CLASS(CPolyShelter),
    RUNTIME_CLASS(CBaseShelter),      RUNTIME_CLASS(CBShelter),        RUNTIME_CLASS(CCShelter),
    RUNTIME_CLASS(CEditShelter),      RUNTIME_CLASS(CKVRSensorConfig), RUNTIME_CLASS(CKVRShelterConfig),
    RUNTIME_CLASS(CKVRControlConfig), RUNTIME_CLASS(CKVRConfigList),   RUNTIME_CLASS(CKVRConfig),
    RUNTIME_CLASS(CZOKConfig),        RUNTIME_CLASS(CByteArray),       RUNTIME_CLASS(CWordArray),
    RUNTIME_CLASS(CDWordArray),       RUNTIME_CLASS(CStringArray),     RUNTIME_CLASS(CStringList),
    // The simulated devices live in the simulator library, which registers them: the
    // archive resolves their names to those classes, so the target asks for the same.
    CRuntimeClass::FromName("CKVRDevice"), CRuntimeClass::FromName("CZOKDevice"),
};

constexpr BYTE kByPointer = 0x80;

std::unique_ptr<CObject> LoadDirect(const CRuntimeClass* pClass, std::span<const BYTE> bytes)
{
    std::unique_ptr<CObject> object = pClass->CreateObject();
    if (!object)
        return nullptr; // an abstract level: only read by pointer
    LoadFrom(bytes, [&](CArchive& ar) {
        object->Serialize(ar);
        return 0;
    });
    return object;
}

void CheckPointerFormLoadsAgain(const CObject& object, const CRuntimeClass* pClass)
{
    const std::vector<BYTE> stored = StoreByPointer(&object);
    try {
        std::unique_ptr<CObject> again = LoadFrom(stored, [&](CArchive& ar) { return ReadOwnedObject(ar, pClass); });
        if (!again || again->GetRuntimeClass() != object.GetRuntimeClass())
            FuzzFailure("an object stored by pointer loads as another class");
    } catch (const CException&) {
        FuzzFailure("an object stored by pointer does not load again");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const CRuntimeClass* pClass = kClasses[(data[0] & ~kByPointer) % kClasses.size()];
    if (pClass == nullptr)
        FuzzFailure("a class of the table is not registered");
    const bool byPointer = (data[0] & kByPointer) != 0;
    const std::span<const BYTE> bytes(data + 1, size - 1);

    std::unique_ptr<CObject> object;
    try {
        object = byPointer ? LoadFrom(bytes, [&](CArchive& ar) { return ReadOwnedObject(ar, pClass); })
                           : LoadDirect(pClass, bytes);
    } catch (const CException&) {
        return 0; // refused: the expected answer to most inputs
    }
    if (!object)
        return 0;
    if (!object->IsKindOf(pClass))
        FuzzFailure("an object of another class than asked for was delivered");
    CheckStoresStably(*object);
    if (!StoreBytes(*object).empty())
        CheckPointerFormLoadsAgain(*object, pClass);
    return 0;
}
