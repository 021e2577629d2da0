// The registry calls: handles of open keys over the file-backed tree.
#include <algorithm>
#include <cstring>
#include <set>

#include "win/registry_store.h"
#include "winreg.h"

namespace {

using win::registry::Key;
using win::registry::Tree;

struct OpenKey {
  std::string path;
  REGSAM access;
};

std::set<OpenKey*>& openKeys() {
  static std::set<OpenKey*> keys;
  return keys;
}

const char* rootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (key == HKEY_USERS) return "HKEY_USERS";
  return nullptr;
}

OpenKey* opened(HKEY key) {
  auto* open = reinterpret_cast<OpenKey*>(key);
  return openKeys().count(open) ? open : nullptr;
}

// The full path of `subKey` below an open key or a root; false for a handle
// that is neither.
bool pathBelow(HKEY key, LPCSTR subKey, std::string& path) {
  if (const char* root = rootName(key)) {
    path = root;
  } else if (OpenKey* open = opened(key)) {
    path = open->path;
  } else {
    return false;
  }
  std::string rest = subKey ? subKey : "";
  while (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  if (!rest.empty()) path += "\\" + rest;
  return true;
}

bool wantsWrite(REGSAM access) { return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0; }

HKEY handOut(const std::string& path, REGSAM access) {
  auto* open = new OpenKey{path, access};
  openKeys().insert(open);
  return reinterpret_cast<HKEY>(open);
}

// Copies `bytes` out as the Reg*A calls do: size only without a buffer,
// ERROR_MORE_DATA with the size needed when the buffer is short.
LONG copyOut(const std::string& bytes, BYTE* data, DWORD* size) {
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(bytes.size());
  if (!data) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, bytes.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

// A name into a character buffer whose size counts characters; on success the
// size becomes the length without the terminating zero.
LONG copyName(const std::string& name, LPSTR out, DWORD* size) {
  if (!out || !size) return ERROR_INVALID_PARAMETER;
  if (*size < name.size() + 1) {
    *size = static_cast<DWORD>(name.size() + 1);
    return ERROR_MORE_DATA;
  }
  std::memcpy(out, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, const SECURITY_ATTRIBUTES*,
                                PHKEY result, DWORD* disposition) {
  std::string path;
  if (!result) return ERROR_INVALID_PARAMETER;
  if (!pathBelow(key, subKey, path)) return ERROR_INVALID_HANDLE;
  Tree tree = win::registry::load();
  bool exists = tree.find(path) != nullptr;
  if ((!exists || wantsWrite(access)) && !win::registry::writable(path)) return ERROR_ACCESS_DENIED;
  if (!exists) {
    tree.create(path);
    if (!win::registry::save(tree).ok()) return ERROR_ACCESS_DENIED;
  }
  if (disposition) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = handOut(tree.find(path)->path, access);
  return ERROR_SUCCESS;
}

extern "C" LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  std::string path;
  if (!result) return ERROR_INVALID_PARAMETER;
  if (!pathBelow(key, subKey, path)) return ERROR_INVALID_HANDLE;
  Tree tree = win::registry::load();
  Key* found = tree.find(path);
  if (!found) return ERROR_FILE_NOT_FOUND;
  if (wantsWrite(access) && !win::registry::writable(path)) return ERROR_ACCESS_DENIED;
  *result = handOut(found->path, access);
  return ERROR_SUCCESS;
}

extern "C" LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
  OpenKey* open = opened(key);
  if (!open) return ERROR_INVALID_HANDLE;
  if (!(open->access & KEY_SET_VALUE) || !win::registry::writable(open->path)) return ERROR_ACCESS_DENIED;
  if (size && !data) return ERROR_INVALID_PARAMETER;
  Tree tree = win::registry::load();
  Key& stored = tree.create(open->path);
  win::registry::Value value{valueName ? valueName : "", type,
                             std::string(reinterpret_cast<const char*>(data), data ? size : 0)};
  auto same = [&](const win::registry::Value& v) { return win::registry::sameName(v.name, value.name); };
  auto existing = std::find_if(stored.values.begin(), stored.values.end(), same);
  if (existing != stored.values.end()) {  // keeps the name as first written
    existing->type = value.type;
    existing->bytes = value.bytes;
  } else {
    stored.values.push_back(value);
  }
  return win::registry::save(tree).ok() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

extern "C" LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  std::string path;
  if (!pathBelow(key, nullptr, path)) return ERROR_INVALID_HANDLE;
  Tree tree = win::registry::load();
  Key* found = tree.find(path);
  std::string name = valueName ? valueName : "";
  if (!found) return ERROR_FILE_NOT_FOUND;
  for (const win::registry::Value& value : found->values) {
    if (!win::registry::sameName(value.name, name)) continue;
    if (type) *type = value.type;
    return copyOut(value.bytes, data, size);
  }
  return ERROR_FILE_NOT_FOUND;
}

extern "C" LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD*, LPSTR keyClass,
                              DWORD* classSize, FILETIME* lastWrite) {
  std::string path;
  if (!pathBelow(key, nullptr, path)) return ERROR_INVALID_HANDLE;
  std::vector<std::string> children = win::registry::load().children(path);
  if (index >= children.size()) return ERROR_NO_MORE_ITEMS;
  if (keyClass && classSize && *classSize) *keyClass = '\0';
  if (classSize) *classSize = 0;
  if (lastWrite) *lastWrite = FILETIME{0, 0};
  return copyName(children[index], name, nameSize);
}

extern "C" LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD*, DWORD* type, BYTE* data,
                              DWORD* dataSize) {
  std::string path;
  if (!pathBelow(key, nullptr, path)) return ERROR_INVALID_HANDLE;
  Tree tree = win::registry::load();
  Key* found = tree.find(path);
  if (!found || index >= found->values.size()) return ERROR_NO_MORE_ITEMS;
  const win::registry::Value& value = found->values[index];
  if (LONG status = copyName(value.name, name, nameSize); status != ERROR_SUCCESS) return status;
  if (type) *type = value.type;
  return copyOut(value.bytes, data, dataSize);
}

extern "C" LONG RegCloseKey(HKEY key) {
  if (rootName(key)) return ERROR_SUCCESS;
  OpenKey* open = opened(key);
  if (!open) return ERROR_INVALID_HANDLE;
  openKeys().erase(open);
  delete open;
  return ERROR_SUCCESS;
}
