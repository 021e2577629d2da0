// The registry's contents, kept in a text file so that they outlive the host
// process as they would on the original system. Every call reads the file
// again and every change writes it back whole (through a temporary file and a
// rename), so two host runs one after the other see each other's entries.
//
// File format, one key per section, values below it:
//   [HKEY_LOCAL_MACHINE\Software\Example\Key]
//   "Name"="text"              a REG_SZ whose bytes are the text and a zero
//   "Other"=hex(4):01,00,00,00 any other value, by type and bytes
#pragma once
#include <string>
#include <vector>

#include "support/status.h"
#include "windef.h"

namespace win::registry {

struct Value {
  std::string name;
  DWORD type = 0;
  std::string bytes;
};

struct Key {
  std::string path;  // root name first, levels separated by backslashes
  std::vector<Value> values;
};

class Tree {
 public:
  // Names are matched without regard to case, as the registry does.
  Key* find(const std::string& path);
  // Creates the key and every missing key above it.
  Key& create(const std::string& path);
  // Direct subkeys' last names, in name order.
  std::vector<std::string> children(const std::string& path) const;
  const std::vector<Key>& keys() const { return m_keys; }

 private:
  std::vector<Key> m_keys;
};

// The file: ARXHOST_REGISTRY when set, else ~/.arxhost/registry.txt.
std::string filePath();
// Tests and the host may point the registry elsewhere; empty restores the default.
void setFilePath(const std::string& path);

Tree load();
// Fails when the file cannot be created, written or renamed into place, and
// says which; the previous file then stays.
support::Status save(const Tree& tree);

// Whether changes below `path` are allowed: not when the whole registry is
// read-only (setReadOnly, or ARXHOST_REGISTRY_READONLY=1) nor below a key
// denied with denyWrites.
bool writable(const std::string& path);
void setReadOnly(bool readOnly);
void denyWrites(const std::string& path);
void clearDenials();

// "a\b" and "A\B" are one key.
bool sameName(const std::string& a, const std::string& b);

}  // namespace win::registry
