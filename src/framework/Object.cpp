#include "framework/Object.h"

// Out of line so that the vtable and type information live in the library
// alone, and a dynamic_cast in another module sees the same type.
CObject::~CObject() = default;

void CObject::Serialize(CArchive&)
{
}
