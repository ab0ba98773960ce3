#pragma once
// Reading objects that the reader will own. An archive may refer back to an object it has
// already delivered; taking ownership of such a reference would give the object two
// owners, so a file that holds one where an owned object belongs is refused.
#include "framework/core/CObject.h"

#include <memory>

class CArchive;

// The next object by pointer (null allowed), which must be new and of the class (any
// class when null). A back-reference to an object read before throws the archive's
// badIndex; another class throws badClass.
std::unique_ptr<CObject> ReadOwnedObject(CArchive& ar, const CRuntimeClass* pClass);

// The same, typed: pClass must be T's run-time class.
template <class T>
std::unique_ptr<T> ReadOwned(CArchive& ar, const CRuntimeClass* pClass)
{
    return std::unique_ptr<T>(static_cast<T*>(ReadOwnedObject(ar, pClass).release()));
}
