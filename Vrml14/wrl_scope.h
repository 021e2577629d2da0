// What the module takes to give back later (an object opened through the
// host, a registry key, a path buffer) is held in a std::unique_ptr whose
// deleter gives it back. A memory error in between is the framework's
// exception, so only a holder is sure to close what was opened.
#pragma once
#include <memory>

#include "acadmem.h"
#include "dbmain.h"
#include "winreg.h"

namespace wrl_scope {

// The deleter that hands the held pointer to `giveBack`.
template <auto giveBack>
struct GiveBack {
  template <typename T>
  void operator()(T* held) const {
    giveBack(held);
  }
};

template <typename T, auto giveBack>
using Held = std::unique_ptr<T, GiveBack<giveBack>>;

inline void closeObject(AcDbObject* object) { object->close(); }
inline void closeKey(HKEY key) { RegCloseKey(key); }

}  // namespace wrl_scope

// An object opened through the host, closed when its holder goes.
template <typename T = AcDbObject>
using OpenObject = wrl_scope::Held<T, wrl_scope::closeObject>;

// A registry key the module created, closed when its holder goes.
using OpenKey = wrl_scope::Held<HKEY__, wrl_scope::closeKey>;

// A path or other text of the module's own (its allocations are the host's).
using TextBuffer = std::unique_ptr<char[]>;

// A text the host allocated for the module to release.
using HostText = wrl_scope::Held<char, acad_free>;
