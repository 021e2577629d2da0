// Extended data: the stored tags of each registered application turned into
// result-buffer lists and back.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "acadmem.h"
#include "adslib.h"
#include "db/database.h"
#include "db/number_text.h"
#include "db/record_tags.h"

using db::Record;
using db::Tag;
using db::TagView;
using db::XDataBlock;

namespace {

// A host-allocated, terminated copy; null when memory ran out.
char* hostCopy(std::string_view text) {
  auto* copy = static_cast<char*>(acad_malloc(text.size() + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

// Fills one result buffer from the tag at `i` (and the Y and Z tags after a
// point's X, which it steps over). False when memory ran out.
bool fillItem(resbuf* rb, std::span<const TagView> tags, size_t& i) {
  const TagView& tag = tags[i];
  switch (ads_reskind(tag.code)) {
    case ResKind::String: rb->resval.rstring = hostCopy(tag.value); return rb->resval.rstring != nullptr;
    case ResKind::Binary: {
      std::string decoded;
      db::bytesOfHex(tag.value, decoded);
      auto* bytes = static_cast<char*>(acad_malloc(decoded.empty() ? 1 : decoded.size()));
      if (!bytes) return false;
      std::memcpy(bytes, decoded.data(), decoded.size());
      rb->resval.rbinary.buf = bytes;
      rb->resval.rbinary.clen = static_cast<short>(decoded.size());
      return true;
    }
    case ResKind::Point: {
      const size_t first = i;
      for (int axis = 0; axis < 3; ++axis) {
        size_t at = first + static_cast<size_t>(axis);
        if (axis > 0 && (at >= tags.size() || tags[at].code != tag.code + 10 * axis)) break;
        db::parseReal(tags[at].value, rb->resval.rpoint[axis]);
        i = at;
      }
      return true;
    }
    case ResKind::Real: db::parseReal(tag.value, rb->resval.rreal); return true;
    case ResKind::Short:
    case ResKind::Long: {
      int64_t value = 0;
      db::parseInteger(tag.value, value);
      if (ads_reskind(tag.code) == ResKind::Short) rb->resval.rint = static_cast<short>(value);
      else rb->resval.rlong = static_cast<long>(value);
      return true;
    }
    case ResKind::None:
    case ResKind::Name: return true;
  }
  return true;
}

resbuf* appendItem(resbuf**& tail, int code) {
  resbuf* rb = ads_newrb(code);
  if (!rb) return nullptr;
  *tail = rb;
  tail = &rb->rbnext;
  return rb;
}

// One application's block: its 1001 and the items up to the next 1001.
bool appendBlock(resbuf**& tail, std::string_view app, std::span<const TagView> items) {
  resbuf* name = appendItem(tail, 1001);
  if (!name) return false;
  name->resval.rstring = hostCopy(app);
  if (!name->resval.rstring) return false;
  for (size_t i = 0; i < items.size(); ++i) {
    // Codes a result buffer has no form for stay stored but are not listed.
    if (ads_reskind(items[i].code) == ResKind::None) continue;
    resbuf* rb = appendItem(tail, items[i].code);
    if (!rb || !fillItem(rb, items, i)) return false;
  }
  return true;
}

bool printable(const char* text) { return text && !std::strpbrk(text, "\r\n") && std::strlen(text) <= 2049; }

// The stored tags of one result buffer; false when it cannot be extended data.
bool tagsOfItem(const resbuf* rb, std::vector<Tag>& tags) {
  auto code = static_cast<int16_t>(rb->restype);
  const ads_u_val& v = rb->resval;
  switch (rb->restype) {
    case 1000:
    case 1003:
    case 1005:
      if (!printable(v.rstring)) return false;
      tags.push_back({code, v.rstring});
      return true;
    case 1002:
      if (!v.rstring || (std::strcmp(v.rstring, "{") != 0 && std::strcmp(v.rstring, "}") != 0)) return false;
      tags.push_back({code, v.rstring});
      return true;
    case 1004:
      if (v.rbinary.clen < 0 || v.rbinary.clen > 127 || (v.rbinary.clen && !v.rbinary.buf)) return false;
      tags.push_back({code, db::hexOfBytes(std::string_view(v.rbinary.buf, static_cast<size_t>(v.rbinary.clen)))});
      return true;
    case 1010:
    case 1011:
    case 1012:
    case 1013:
      for (int axis = 0; axis < 3; ++axis) {
        double value = v.rpoint[axis];
        std::string text = db::formatReal(value);
        if (!db::parseReal(text, value)) return false;
        tags.push_back({static_cast<int16_t>(code + 10 * axis), text});
      }
      return true;
    case 1040:
    case 1041:
    case 1042: {
      double value = v.rreal;
      std::string text = db::formatReal(value);
      if (!db::parseReal(text, value)) return false;
      tags.push_back({code, text});
      return true;
    }
    case 1070: tags.push_back({code, db::formatInteger(v.rint)}); return true;
    case 1071:
      if (v.rlong < INT32_MIN || v.rlong > INT32_MAX) return false;
      tags.push_back({code, db::formatInteger(v.rlong)});
      return true;
    default: return false;
  }
}

}  // namespace

resbuf* AcDbObject::xData(const char* regappName) const {
  Acad::ErrorStatus ignored;
  return xData(regappName, ignored);
}

resbuf* AcDbObject::xData(const char* regappName, Acad::ErrorStatus& status) const {
  status = Acad::eOk;
  resbuf* head = nullptr;
  resbuf** tail = &head;
  if (m_record->inText() && !m_record->extendedDataAsRead) return nullptr;
  std::string wanted = regappName ? db::upperName(regappName) : std::string();
  std::span<const TagView> data = tags().extendedData();
  for (size_t start = 0; start < data.size();) {
    size_t end = start + 1;
    while (end < data.size() && data[end].code != 1001) ++end;
    std::string_view app = data[start].value;
    bool wantedBlock = !regappName || db::upperName(app) == wanted;
    if (wantedBlock && !appendBlock(tail, app, data.subspan(start + 1, end - start - 1))) {
      ads_relrb(head);
      status = Acad::eOutOfMemory;
      return nullptr;
    }
    start = end;
  }
  return head;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xdata || xdata->restype != 1001) return Acad::eInvalidInput;
  auto* database = db::databaseOf(*m_record);
  std::vector<XDataBlock> changes;
  for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
    if (rb->restype == 1001) {
      if (!printable(rb->resval.rstring) || !database->isRegisteredApp(rb->resval.rstring)) return Acad::eInvalidInput;
      changes.push_back({rb->resval.rstring, {}});
    } else if (!tagsOfItem(rb, changes.back().tags)) {
      return Acad::eInvalidInput;
    }
  }
  // Nothing is changed until the whole list has proved good.
  if (!database->edit(*m_record)) return Acad::eInvalidInput;
  auto& stored = m_record->stored->xdata;
  for (XDataBlock& change : changes) {
    std::string key = db::upperName(change.app);
    auto found = std::find_if(stored.begin(), stored.end(),
                              [&](const XDataBlock& block) { return db::upperName(block.app) == key; });
    if (change.tags.empty()) {
      if (found != stored.end()) stored.erase(found);
    } else if (found != stored.end()) {
      *found = std::move(change);
    } else {
      stored.push_back(std::move(change));
    }
  }
  return Acad::eOk;
}
