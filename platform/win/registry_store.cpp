// Reading and writing the registry file, and the write permissions.
#include "win/registry_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace win::registry {
namespace {

std::string g_path;
bool g_readOnly = false;
std::vector<std::string> g_denied;

std::string folded(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// `path` is `ancestor` or lies below it.
bool isWithin(const std::string& path, const std::string& ancestor) {
  if (path.size() < ancestor.size() || !sameName(path.substr(0, ancestor.size()), ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == '\\';
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

// Reads a quoted text at `pos`, leaving `pos` after its closing quote.
bool unquote(const std::string& line, size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  out.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < line.size()) c = line[++pos];
    out.push_back(c);
  }
  return false;
}

std::string valueText(const Value& value) {
  const std::string& bytes = value.bytes;
  bool plainText = value.type == 1 && !bytes.empty() && bytes.back() == '\0' && bytes.find('\0') == bytes.size() - 1 &&
                   bytes.find('\n') == std::string::npos;
  if (plainText) return quoted(bytes.substr(0, bytes.size() - 1));
  std::string out = "hex(" + std::to_string(value.type) + "):";
  char hex[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(bytes[i]));
    if (i) out += ",";
    out += hex;
  }
  return out;
}

bool parseValue(const std::string& line, Value& value) {
  size_t pos = 0;
  if (!unquote(line, pos, value.name) || pos >= line.size() || line[pos] != '=') return false;
  ++pos;
  if (pos < line.size() && line[pos] == '"') {
    value.type = 1;
    if (!unquote(line, pos, value.bytes) || pos != line.size()) return false;
    value.bytes.push_back('\0');
    return true;
  }
  unsigned type = 0;
  int used = 0;
  if (std::sscanf(line.c_str() + pos, "hex(%u):%n", &type, &used) != 1 || used == 0) return false;
  value.type = type;
  value.bytes.clear();
  for (pos += used; pos < line.size();) {
    unsigned byte = 0;
    int length = 0;
    if (std::sscanf(line.c_str() + pos, "%2x%n", &byte, &length) != 1 || length != 2) return false;
    value.bytes.push_back(static_cast<char>(byte));
    pos += 2;
    if (pos < line.size() && line[pos++] != ',') return false;
  }
  return true;
}

// The whole tree in the file's format into `file`; false when it cannot be
// opened or written whole.
bool writeTree(const Tree& tree, const std::string& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "; arxhost registry\n";
  for (const Key& key : tree.keys()) {
    out << "[" << key.path << "]\n";
    for (const Value& value : key.values) out << quoted(value.name) << "=" << valueText(value) << "\n";
  }
  return static_cast<bool>(out.flush());
}

}  // namespace

bool sameName(const std::string& a, const std::string& b) { return folded(a) == folded(b); }

Key* Tree::find(const std::string& path) {
  for (Key& key : m_keys)
    if (sameName(key.path, path)) return &key;
  return nullptr;
}

Key& Tree::create(const std::string& path) {
  // Every level below the root, the root itself being no key of the file.
  size_t rootEnd = path.find('\\');
  for (size_t cut = rootEnd == std::string::npos ? rootEnd : path.find('\\', rootEnd + 1); cut != std::string::npos;
       cut = path.find('\\', cut + 1))
    if (!find(path.substr(0, cut))) m_keys.push_back(Key{path.substr(0, cut), {}});
  if (Key* key = find(path)) return *key;
  return m_keys.emplace_back(Key{path, {}});
}

std::vector<std::string> Tree::children(const std::string& path) const {
  std::vector<std::string> names;
  for (const Key& key : m_keys) {
    if (key.path.size() <= path.size() + 1 || !isWithin(key.path, path)) continue;
    std::string rest = key.path.substr(path.size() + 1);
    if (rest.find('\\') == std::string::npos) names.push_back(rest);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return folded(a) < folded(b); });
  return names;
}

std::string filePath() {
  if (!g_path.empty()) return g_path;
  if (const char* configured = std::getenv("ARXHOST_REGISTRY"); configured && *configured) return configured;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.arxhost/registry.txt";
}

void setFilePath(const std::string& path) { g_path = path; }

Tree load() {
  Tree tree;
  std::ifstream in(filePath(), std::ios::binary);
  std::string line;
  Key* current = nullptr;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    Value value;
    if (line.front() == '[' && line.back() == ']') {
      current = &tree.create(line.substr(1, line.size() - 2));
    } else if (current && parseValue(line, value)) {
      current->values.push_back(value);
    } else {
      std::fprintf(stderr, "registry: %s:%d: malformed line ignored\n", filePath().c_str(), number);
    }
  }
  return tree;
}

support::Status save(const Tree& tree) {
  std::filesystem::path path(filePath());
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  // A name of its own, so that hosts saving at the same moment never write
  // into one another's file; the last rename wins whole.
  std::string temporary = path.string() + ".XXXXXX";
  int descriptor = mkstemp(temporary.data());
  if (descriptor < 0)
    return support::Status::failure("cannot create a registry file beside " + path.string() + ": " +
                                    std::strerror(errno));
  fchmod(descriptor, 0644);
  close(descriptor);
  if (!writeTree(tree, temporary)) {
    std::filesystem::remove(temporary, error);
    return support::Status::failure("cannot write the registry file " + path.string());
  }
  std::filesystem::rename(temporary, path, error);
  if (!error) return {};
  support::Status failed = support::Status::failure("cannot rename the new registry file to " + path.string() + ": " +
                                                    error.message());
  std::filesystem::remove(temporary, error);
  return failed;
}

bool writable(const std::string& path) {
  if (g_readOnly) return false;
  if (const char* flag = std::getenv("ARXHOST_REGISTRY_READONLY"); flag && std::string(flag) == "1") return false;
  return std::none_of(g_denied.begin(), g_denied.end(),
                      [&](const std::string& denied) { return isWithin(path, denied); });
}

void setReadOnly(bool readOnly) { g_readOnly = readOnly; }
void denyWrites(const std::string& path) { g_denied.push_back(path); }
void clearDenials() { g_denied.clear(); }

}  // namespace win::registry
