// The host's OPEN and SAVE: a DXF file to the current drawing and back.
#include "drawing_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "db/database.h"
#include "db/drawing_repair.h"
#include "dxf/readers.h"
#include "dxf/replace_file.h"
#include "dxf/writers.h"

namespace dxf {
namespace {

// The file's bytes, mapped rather than copied: large drawings read faster.
// The open file itself goes to the database for records that stay in it.
class MappedFile {
 public:
  support::Status open(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
      return support::Status::failure(path + ": cannot open: " + std::strerror(errno));
    m_size = static_cast<size_t>(info.st_size);
    if (m_size > 0) {
      void* data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, m_fd, 0);
      if (data == MAP_FAILED) return support::Status::failure(path + ": cannot read: " + std::strerror(errno));
      m_data = static_cast<const char*>(data);
      ::madvise(data, m_size, MADV_SEQUENTIAL);
    }
    return {};
  }
  ~MappedFile() {
    if (m_data) ::munmap(const_cast<char*>(m_data), m_size);
    if (m_fd >= 0) ::close(m_fd);
  }
  std::string_view view() const { return m_data ? std::string_view(m_data, m_size) : std::string_view(); }
  // Drops the pages before `offset` from this process's memory; they are
  // read from the file again if touched.
  void release(size_t offset) {
    size_t pages = offset & ~static_cast<size_t>(::sysconf(_SC_PAGESIZE) - 1);
    if (m_data && pages > 0) ::madvise(const_cast<char*>(m_data), pages, MADV_DONTNEED);
  }
  int takeDescriptor() { return std::exchange(m_fd, -1); }

 private:
  int m_fd = -1;
  const char* m_data = nullptr;
  size_t m_size = 0;
};

std::string& openNoticeText() {
  static std::string notice;
  return notice;
}

bool detectCrlf(std::string_view data) {
  size_t newline = data.find('\n');
  return newline != std::string_view::npos && newline > 0 && data[newline - 1] == '\r';
}

// Reads a whole drawing from `view`; `text` is where records that stay in
// their text read from later, `release` may drop bytes already read.
support::Status openBytes(const std::string& path, std::string_view view, std::unique_ptr<db::DrawingText> text,
                          const dxf::ReadProgress& release) {
  auto database = std::make_unique<db::Database>();
  // What the drawing lacks is noted while it is read, not in a second pass.
  db::DrawingRepair repair(*database);
  database->watchLoading(&repair);
  bool ok = false;
  std::string error;
  if (view.substr(0, dxf::kBinarySentinel.size()) == dxf::kBinarySentinel) {
    dxf::RecordCollector collector(*database, path, "byte");
    bool byteCodes = false;
    ok = dxf::readBinary(view.substr(dxf::kBinarySentinel.size()), collector, byteCodes);
    if (!ok) error = collector.error();
    database->setFormat(byteCodes ? db::FileFormat::BinaryByteCodes : db::FileFormat::BinaryWordCodes);
  } else {
    dxf::RecordCollector collector(*database, path, "line", view.data());
    ok = dxf::readAscii(view, collector, release);
    if (!ok) error = collector.error();
    database->setCrlf(detectCrlf(view));
    database->setText(std::move(text));
  }
  if (!ok) return support::Status::failure(error);
  database->setPath(path);
  std::string repaired = repair.run().summary();
  openNoticeText() = repaired.empty() ? repaired : path + ": " + repaired;
  db::setCurrentDatabase(std::move(database));
  return {};
}

}  // namespace

support::Status open(const std::string& path) {
  MappedFile file;
  support::Status mapped = file.open(path);
  if (!mapped.ok()) return mapped;
  std::string_view view = file.view();
  bool binary = view.substr(0, dxf::kBinarySentinel.size()) == dxf::kBinarySentinel;
  auto text = binary ? nullptr : std::make_unique<db::DrawingText>(file.takeDescriptor());
  return openBytes(path, view, std::move(text), [&file](size_t offset) { file.release(offset); });
}

support::Status openFromMemory(const std::string& path, std::string_view view) {
  return openBytes(path, view, std::make_unique<db::DrawingText>(view), {});
}

support::Status save(const std::string& path) {
  db::Database* database = db::currentDatabase();
  if (!database) return support::Status::failure(path + ": cannot save: no drawing is open");
  db::FileFormat format = database->format();
  support::Status saved = dxf::replaceFile(path, [&](dxf::FileOutput& out) {
    if (format == db::FileFormat::Ascii) return dxf::writeAscii(*database, out);
    return dxf::writeBinary(*database, format == db::FileFormat::BinaryByteCodes, out);
  });
  if (saved.ok()) {
    database->setPath(path);
    database->markSaved();
  }
  return saved;
}

const std::string& openNotice() { return openNoticeText(); }

bool hasUnsavedChanges() {
  const db::Database* database = db::currentDatabase();
  return database && database->modified();
}

const std::string& currentPath() {
  static const std::string none;
  const db::Database* database = db::currentDatabase();
  return database ? database->path() : none;
}

}  // namespace dxf
