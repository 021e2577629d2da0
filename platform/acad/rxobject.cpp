// Run-time class descriptors and the class test.
#include "rxobject.h"

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass cls("AcRxObject", nullptr);
  return &cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

bool AcRxObject::isKindOf(const AcRxClass* cls) const {
  const AcRxClass* own = isA();
  return own && own->isDerivedFrom(cls);
}

ACRX_DEFINE_MEMBERS(AcRxClass, AcRxObject)

AcRxClass::AcRxClass(const char* name, AcRxClass* parent) : m_name(name), m_parent(parent) {}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  if (!other) return false;
  for (const AcRxClass* cls = this; cls; cls = cls->m_parent)
    if (cls == other) return true;
  return false;
}
