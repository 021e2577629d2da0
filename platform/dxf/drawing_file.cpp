// The host's OPEN and SAVE: a DXF file to the current drawing and back.
#include "drawing_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "db/database.h"
#include "dxf/readers.h"
#include "dxf/replace_file.h"
#include "dxf/writers.h"

namespace drawing_file {
namespace {

bool readWholeFile(const std::string& path, std::string& data, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    data.resize(static_cast<size_t>(size));
    ok = std::fread(data.data(), 1, data.size(), file) == data.size();
  }
  if (!ok) error = path + ": cannot read: " + std::strerror(errno ? errno : EIO);
  std::fclose(file);
  return ok;
}

bool detectCrlf(std::string_view data) {
  size_t newline = data.find('\n');
  return newline != std::string_view::npos && newline > 0 && data[newline - 1] == '\r';
}

}  // namespace

bool open(const std::string& path, std::string& error) {
  std::string data;
  if (!readWholeFile(path, data, error)) return false;
  std::string_view view(data);
  auto database = std::make_unique<acdb_detail::Database>();
  bool ok = false;
  if (view.substr(0, dxf::kBinarySentinel.size()) == dxf::kBinarySentinel) {
    dxf::RecordCollector collector(path, "byte");
    bool byteCodes = false;
    ok = dxf::readBinary(view.substr(dxf::kBinarySentinel.size()), collector, byteCodes);
    if (ok) database->adopt(collector.take());
    else error = collector.error();
    database->setFormat(byteCodes ? acdb_detail::FileFormat::BinaryByteCodes
                                  : acdb_detail::FileFormat::BinaryWordCodes);
  } else {
    dxf::RecordCollector collector(path, "line");
    ok = dxf::readAscii(view, collector);
    if (ok) database->adopt(collector.take());
    else error = collector.error();
    database->setCrlf(detectCrlf(view));
  }
  if (!ok) return false;
  database->setPath(path);
  acdb_detail::setCurrentDatabase(std::move(database));
  return true;
}

bool save(const std::string& path, std::string& error) {
  acdb_detail::Database* database = acdb_detail::currentDatabase();
  if (!database) {
    error = path + ": cannot save: no drawing is open";
    return false;
  }
  acdb_detail::FileFormat format = database->format();
  bool ok = dxf::replaceFile(
      path,
      [&](dxf::FileOutput& out, std::string& problem) {
        if (format == acdb_detail::FileFormat::Ascii) {
          dxf::writeAscii(*database, out);
          return true;
        }
        return dxf::writeBinary(*database, format == acdb_detail::FileFormat::BinaryByteCodes, out, problem);
      },
      error);
  if (ok) database->setPath(path);
  return ok;
}

const std::string& currentPath() {
  static const std::string none;
  const acdb_detail::Database* database = acdb_detail::currentDatabase();
  return database ? database->path() : none;
}

}  // namespace drawing_file
