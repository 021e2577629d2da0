// Run-time class descriptors: the class test objects answer.
#include "rxobject.h"

AcRxClass::AcRxClass(const char* name, AcRxClass* parent) : m_name(name), m_parent(parent) {}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* cls = this; cls; cls = cls->m_parent)
    if (cls == other) return true;
  return false;
}

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass cls("AcRxObject", nullptr);
  return &cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

bool AcRxObject::isKindOf(const AcRxClass* cls) const { return isA()->isDerivedFrom(cls); }
