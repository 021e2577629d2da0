// Run-time classes: the class test the host and the module apply to objects.
#pragma once

class AcRxClass {
 public:
  AcRxClass(const char* name, AcRxClass* parent);
  const char* name() const { return m_name; }
  AcRxClass* myParent() const { return m_parent; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const char* m_name;
  AcRxClass* m_parent;
};

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* cls) const;
};

#define ACRX_DECLARE_MEMBERS(CLASS) \
  static AcRxClass* desc();         \
  AcRxClass* isA() const override

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT)                     \
  AcRxClass* CLASS::desc() {                                   \
    static AcRxClass cls(#CLASS, PARENT::desc());              \
    return &cls;                                               \
  }                                                            \
  AcRxClass* CLASS::isA() const { return CLASS::desc(); }
