// The host's OPEN and SAVE: a DXF file to the current drawing and back.
#include "drawing_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "db/database.h"
#include "dxf/readers.h"
#include "dxf/replace_file.h"
#include "dxf/writers.h"

namespace drawing_file {
namespace {

// The file's bytes, mapped rather than copied: large drawings read faster.
class MappedFile {
 public:
  bool open(const std::string& path, std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
      error = path + ": cannot open: " + std::strerror(errno);
      if (fd >= 0) ::close(fd);
      return false;
    }
    m_size = static_cast<size_t>(info.st_size);
    if (m_size > 0) {
      void* data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
      if (data == MAP_FAILED) {
        error = path + ": cannot read: " + std::strerror(errno);
        ::close(fd);
        return false;
      }
      m_data = static_cast<const char*>(data);
      ::madvise(data, m_size, MADV_SEQUENTIAL);
    }
    ::close(fd);
    return true;
  }
  ~MappedFile() {
    if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
  }
  std::string_view view() const { return m_data ? std::string_view(m_data, m_size) : std::string_view(); }

 private:
  const char* m_data = nullptr;
  size_t m_size = 0;
};

bool detectCrlf(std::string_view data) {
  size_t newline = data.find('\n');
  return newline != std::string_view::npos && newline > 0 && data[newline - 1] == '\r';
}

}  // namespace

bool open(const std::string& path, std::string& error) {
  MappedFile file;
  return file.open(path, error) && openFromMemory(path, file.view(), error);
}

bool openFromMemory(const std::string& path, std::string_view view, std::string& error) {
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
