// The host's command stack and editor services a module uses.
#pragma once
#include "acadstrc.h"
#include "adesk.h"
#include "rxobject.h"

typedef void (*AcRxFunctionPtr)(void);

namespace ACRX_CMD {
enum CommandFlags { kModal = 0x00000000, kTransparent = 0x00000001, kUsePickSet = 0x00000002 };
}

// Commands registered by applications, in named groups. Names are matched
// without regard to case. The stack lives in the system registry under
// "ACAD_REGISTERED_COMMANDS".
class AcEdCommandStack : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);
  // Refuses (eInvalidInput) empty names, a null handler, and a global or
  // local name that another command already holds.
  virtual Acad::ErrorStatus addCommand(const char* groupName, const char* globalName, const char* localName,
                                       Adesk::Int32 flags, AcRxFunctionPtr handler);
  // eKeyNotFound when no command of that group exists.
  virtual Acad::ErrorStatus removeCmd(const char* groupName, const char* globalName);
  virtual Acad::ErrorStatus removeGroup(const char* groupName);
};

// True (1) when the menu group of that name is loaded.
int acedIsMenuGroupLoaded(const char* groupName);
