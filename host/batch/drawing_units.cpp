#include "drawing_units.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

#include "platform.h"

namespace {

// The header comes first and is small: reading this much finds it in any
// drawing without reading a large one whole.
constexpr size_t kHeaderReach = 1 << 20;
constexpr std::string_view kSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

// Calls `tag(code, value)` for the tags of the file's start until it returns false.
template <class Tag>
void textTags(std::string_view data, Tag&& tag) {
  auto line = [&data]() {
    size_t end = data.find('\n');
    std::string_view text = data.substr(0, end);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
  };
  while (!data.empty()) {
    std::string_view codeText = line(), value = line();
    int code = 0;
    auto [end, problem] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (problem != std::errc() || !tag(code, std::string(value))) return;
  }
}

template <class Tag>
void binaryTags(std::string_view data, Tag&& tag) {
  bool byteCodes = data.size() >= 2 && ((data[0] == '\0' && data[1] != '\0') || data[0] == '\xff');
  size_t at = 0;
  auto take = [&](size_t size, void* into) {
    if (at + size > data.size()) return false;
    std::memcpy(into, data.data() + at, size);
    at += size;
    return true;
  };
  while (at < data.size()) {
    int16_t code = 0;
    uint8_t small = 0;
    if (byteCodes) {
      if (!take(1, &small)) return;
      code = small;
    }
    if ((!byteCodes || small == 255) && !take(2, &code)) return;
    std::string value;
    int16_t integer = 0;
    switch (db::valueKind(code)) {
      case db::ValueKind::String: {
        size_t end = data.find('\0', at);
        if (end == std::string_view::npos) return;
        value = data.substr(at, end - at);
        at = end + 1;
        break;
      }
      case db::ValueKind::Int16:
        if (!take(2, &integer)) return;
        value = std::to_string(integer);
        break;
      case db::ValueKind::Binary: {
        uint8_t size = 0;
        if (!take(1, &size)) return;
        at += size;
        break;
      }
      case db::ValueKind::Bool: at += 1; break;
      case db::ValueKind::Int32: at += 4; break;
      case db::ValueKind::Double:
      case db::ValueKind::Int64: at += 8; break;
    }
    if (!tag(code, value)) return;
  }
}

}  // namespace

int declaredUnits(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string data(kHeaderReach, '\0');
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<size_t>(in.gcount()));
  int units = 0;
  bool named = false;
  auto tag = [&](int code, const std::string& value) {
    if (code == 0 && value == "ENDSEC") return false;
    if (named && code == 70) {
      std::from_chars(value.data(), value.data() + value.size(), units);
      return false;
    }
    named = code == 9 ? value == "$INSUNITS" : named;
    return true;
  };
  std::string_view view(data);
  if (view.starts_with(kSentinel)) binaryTags(view.substr(kSentinel.size()), tag);
  else textTags(view, tag);
  return units;
}

std::string unitsAnswer(int insunits) {
  static const char* const kMetres[] = {"",
                                        "0.0254",
                                        "0.3048",
                                        "1609.344",
                                        "mm",
                                        "cm",
                                        "m",
                                        "1000",
                                        "2.54e-08",
                                        "2.54e-05",
                                        "0.9144",
                                        "1e-10",
                                        "1e-09",
                                        "1e-06",
                                        "0.1",
                                        "10",
                                        "100",
                                        "1e+09",
                                        "1.495978707e+11",
                                        "9.4607304725808e+15",
                                        "3.0856775814914e+16",
                                        "0.3048006096012192",
                                        "0.0254000508001016",
                                        "0.9144018288036576",
                                        "1609.347218694437"};
  if (insunits < 0 || insunits >= static_cast<int>(std::size(kMetres))) return "";
  return kMetres[insunits];
}
