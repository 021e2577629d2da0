// Loading applications on demand: what acrxRegisterApp records, and the
// look-up the command line makes for a command nobody has registered yet.
//
// acrxRegisterApp writes, below HKEY_LOCAL_MACHINE\<product key>\Applications
// \<logical name>, the values LOADCTRLS (REG_DWORD, the load reasons) and
// REGPATH (REG_SZ, "\HKEY_LOCAL_MACHINE\<registry path>\<logical name>"). The
// application's own key there holds "Commands" (its command names as values)
// and "Loader" (MODULE, the module's full path).
#pragma once
#include <string>
#include <vector>

namespace acad::demand_load {

struct Registration {
  int reasons = 0;
  std::string logicalName;
  std::string registryPath;
  int keyIndex = 0;
};

// What acrxRegisterApp was told in this host run, in order (latest per name).
const std::vector<Registration>& registrations();

// Finds an application registered for loading on command invocation that
// lists `command` (any case, "_" and "." prefixes ignored) and loads its
// module. True when a module was loaded; false when none lists the command,
// its module is loaded already, or loading failed (which is reported).
bool loadForCommand(const std::string& command);

}  // namespace acad::demand_load
