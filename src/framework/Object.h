// The root of the framework's serialisable classes: CObject.
#pragma once

#include "OrvApi.h"

class CArchive;

// A class whose objects can write themselves to a binary archive and read
// themselves back. The destructor is virtual so that objects are deleted
// through base pointers safely. Run-time class information is what C++
// already gives (typeid, dynamic_cast); nothing more is kept here.
class ORV_API CObject {
public:
    virtual ~CObject();

    // Writes the object when the archive is storing, reads it when loading.
    // The base class has no state and does nothing.
    virtual void Serialize(CArchive& archive);

protected:
    CObject() noexcept = default;
    CObject(const CObject&) noexcept = default;
    CObject& operator=(const CObject&) noexcept = default;
};
