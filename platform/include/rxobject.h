// Run-time classes: the class test the host and the module apply to objects.
#pragma once

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* cls) const;
};

// `cast` answers the object itself when it is of the class (or derived from
// it), else null: the checked down-cast the host's interfaces rely on.
#define ACRX_DECLARE_MEMBERS(CLASS)                                                                                    \
  static AcRxClass* desc();                                                                                            \
  AcRxClass* isA() const override;                                                                                     \
  static CLASS* cast(const AcRxObject* object) {                                                                       \
    return object && object->isKindOf(CLASS::desc()) ? static_cast<CLASS*>(const_cast<AcRxObject*>(object)) : nullptr; \
  }                                                                                                                    \
  static_assert(true)

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT)        \
  AcRxClass* CLASS::desc() {                      \
    static AcRxClass cls(#CLASS, PARENT::desc()); \
    return &cls;                                  \
  }                                               \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }

// A class descriptor is itself an object, so class dictionaries can hold it.
class AcRxClass : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxClass);
  AcRxClass(const char* name, AcRxClass* parent);
  const char* name() const { return m_name; }
  AcRxClass* myParent() const { return m_parent; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const char* m_name;
  AcRxClass* m_parent;
};
