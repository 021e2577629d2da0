// The system registry: named service objects, the class dictionary and the
// dynamic linker.
#include <cstring>
#include <map>
#include <string>

#include "acad/apps.h"
#include "aced.h"
#include "acrx.h"

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

struct AcRxDictionary::Entries {
  std::map<std::string, AcRxObject*> byKey;
};

AcRxDictionary::AcRxDictionary() : m_entries(new Entries) {}
AcRxDictionary::~AcRxDictionary() { delete m_entries; }

AcRxObject* AcRxDictionary::at(const char* key) const {
  if (!key) return nullptr;
  auto found = m_entries->byKey.find(key);
  return found == m_entries->byKey.end() ? nullptr : found->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* object) {
  if (!key) return nullptr;
  AcRxObject*& slot = m_entries->byKey[key];
  AcRxObject* previous = slot;
  slot = object;
  return previous;
}

AcRxObject* AcRxDictionary::remove(const char* key) {
  if (!key) return nullptr;
  auto found = m_entries->byKey.find(key);
  if (found == m_entries->byKey.end()) return nullptr;
  AcRxObject* previous = found->second;
  m_entries->byKey.erase(found);
  return previous;
}

bool AcRxDictionary::has(const char* key) const { return at(key) != nullptr; }

// The application id handed to a module is the host's record of it.
bool AcRxDynamicLinker::unlockApplication(void* appId) const {
  if (!appId) return false;
  static_cast<acad::apps::App*>(appId)->unlocked = true;
  return true;
}

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary registry;
  static AcRxDictionary classes;
  static AcRxDynamicLinker linker;
  static AcEdCommandStack commands;
  static bool filled = [] {
    classes.atPut("AcRxObject", AcRxObject::desc());
    classes.atPut("AcRxClass", AcRxClass::desc());
    classes.atPut("AcRxDictionary", AcRxDictionary::desc());
    classes.atPut("AcRxDynamicLinker", AcRxDynamicLinker::desc());
    classes.atPut("AcEdCommandStack", AcEdCommandStack::desc());
    registry.atPut("ClassDictionary", &classes);
    registry.atPut("DynamicLinker", &linker);
    registry.atPut("ACAD_REGISTERED_COMMANDS", &commands);
    return true;
  }();
  (void)filled;
  return &registry;
}

const char* acrxProductKey() { return "Software\\Arxhost\\R14.0"; }
