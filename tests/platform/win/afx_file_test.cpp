#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "afx.h"
#include "file_faults.h"
#include "support/files.h"
#include "support/scratch_dir.h"

namespace {

constexpr UINT kCreateExclusive = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;

// Runs `action` and returns the cause of the file error it throws, or -1.
template <typename Action>
int fileErrorCause(Action action) {
  try {
    action();
  } catch (CFileException* error) {
    int cause = error->m_cause;
    error->Delete();
    return cause;
  }
  return -1;
}

class AfxFile : public ::testing::Test {
 protected:
  void TearDown() override { win::file_faults::disarm(); }
  test_support::ScratchDir scratch;
  std::string path = scratch.file("file.bin");
};

}  // namespace

TEST_F(AfxFile, CreatesTruncatesAndWritesBytesUnchanged) {
  {
    std::ofstream old(path, std::ios::binary);
    old << "older and longer content";
  }
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
  file.Write("a\r\n\tb", 5);
  file.Write("\0z", 2);
  file.Close();
  EXPECT_EQ(test_support::readFile(path), std::string("a\r\n\tb\0z", 7));
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST_F(AfxFile, WritesLargerThanTheBufferArriveInOrder) {
  std::string big(CFile::kBufferSize * 2 + 17, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
  file.Write("<", 1);
  file.Write(big.data(), static_cast<UINT>(big.size()));
  file.Write(">", 1);
  file.Close();
  EXPECT_EQ(test_support::readFile(path), "<" + big + ">");
}

// Past its first buffers a document is written on a second thread: the
// bytes still arrive in order, and a flush leaves them all in the file.
TEST_F(AfxFile, ALargeDocumentArrivesInOrderThroughFlushesAndLargeWrites) {
  std::string expected;
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
  auto write = [&](const std::string& bytes) {
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    expected += bytes;
  };
  for (size_t piece = 0; expected.size() < 6 * CFile::kBufferSize * 16; ++piece) {
    write(std::string(1 + piece * 7919 % 4000, static_cast<char>('a' + piece % 26)));
    if (piece == 900) {
      file.Flush();
      EXPECT_EQ(std::filesystem::file_size(path), expected.size());
    }
    if (piece == 1500) write(std::string(CFile::kBufferSize * 3 + 5, '#'));
  }
  file.Close();
  std::string written = test_support::readFile(path);
  ASSERT_EQ(written.size(), expected.size());
  auto [at, _] = std::mismatch(written.begin(), written.end(), expected.begin());
  EXPECT_EQ(at - written.begin(), static_cast<std::ptrdiff_t>(written.size())) << "first difference";
}

// A write refused on the second thread is not lost: a later write or the
// close reports it, and the close does not succeed.
TEST_F(AfxFile, AWriteRefusedBehindIsReportedBeforeTheCloseSucceeds) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // past the limit, write() fails with EFBIG
  rlimit limited = old;
  limited.rlim_cur = 40 * CFile::kBufferSize;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  int cause = -1;
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
    std::string line(1000, 'x');
    for (int i = 0; i < 8000 && cause < 0; ++i)
      cause = fileErrorCause([&] { file.Write(line.data(), static_cast<UINT>(line.size())); });
    if (cause < 0) cause = fileErrorCause([&] { file.Close(); });
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(cause, CFileException::diskFull);
}

TEST_F(AfxFile, ExclusiveOpenRefusesASecondWriter) {
  CFile first;
  ASSERT_TRUE(first.Open(path.c_str(), kCreateExclusive));
  CFile second;
  CFileException error;
  EXPECT_FALSE(second.Open(path.c_str(), kCreateExclusive, &error));
  EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
  first.Close();
  EXPECT_TRUE(second.Open(path.c_str(), kCreateExclusive));
}

TEST_F(AfxFile, OpenInAMissingFolderFailsWithItsCause) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open((path + "/no/such/file.wrl").c_str(), kCreateExclusive, &error));
  EXPECT_NE(error.m_cause, CFileException::none);
  EXPECT_GT(error.m_lOsError, 0);
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  EXPECT_EQ(fileErrorCause([&] { file.Write("x", 1); }), CFileException::invalidFile);
}

TEST_F(AfxFile, FullDiskIsReportedByTheFlushOfClose) {
  CFile file;
  ASSERT_TRUE(file.Open("/dev/full", kCreateExclusive));
  file.Write("buffered", 8);  // still in memory
  EXPECT_EQ(fileErrorCause([&] { file.Close(); }), CFileException::diskFull);
  EXPECT_NE(file.m_hFile, CFile::hFileNull);  // stays open until destroyed
}

TEST_F(AfxFile, FullDiskIsReportedByAWriteThatOverflowsTheBuffer) {
  std::string big(CFile::kBufferSize + 1, 'x');
  CFile file;
  ASSERT_TRUE(file.Open("/dev/full", kCreateExclusive));
  // A device is not locked: other writers (other tests at the same time) open it too.
  CFile other;
  EXPECT_TRUE(other.Open("/dev/full", kCreateExclusive));
  EXPECT_EQ(fileErrorCause([&] { file.Write(big.data(), static_cast<UINT>(big.size())); }), CFileException::diskFull);
}

TEST_F(AfxFile, FaultSwitchFailsTheWriteThatCrossesTheLimitAndKeepsEarlierBytes) {
  win::file_faults::failWritesAfter(10);
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
  file.Write("123456", 6);
  file.Write("7890", 4);
  EXPECT_EQ(fileErrorCause([&] { file.Write("x", 1); }), CFileException::diskFull);
  win::file_faults::disarm();
  file.Write("ab", 2);
  file.Close();
  EXPECT_EQ(test_support::readFile(path), "1234567890ab");
}

TEST_F(AfxFile, FailedCloseLeavesTheFileToTheDestructorWhichStillWritesItOut) {
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kCreateExclusive));
    file.Write("kept", 4);
    win::file_faults::failNextClose();
    EXPECT_EQ(fileErrorCause([&] { file.Close(); }), CFileException::hardIO);
    EXPECT_NE(file.m_hFile, CFile::hFileNull);
  }
  EXPECT_EQ(test_support::readFile(path), "kept");
}

TEST(AfxException, MemoryErrorIsOneStaticObjectThatDeleteLeavesAlone) {
  CMemoryException* first = nullptr;
  CMemoryException* second = nullptr;
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* error) {
    first = error;
    error->Delete();
  }
  try {
    AfxThrowMemoryException();
  } catch (CException* error) {  // caught by its base class too
    second = dynamic_cast<CMemoryException*>(error);
    error->Delete();
  }
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
}

TEST(AfxException, FileErrorCarriesItsCauseAndOsError) {
  try {
    AfxThrowFileException(CFileException::accessDenied, 13);
    FAIL() << "nothing thrown";
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_cause, CFileException::accessDenied);
    EXPECT_EQ(error->m_lOsError, 13);
    error->Delete();
  }
}
