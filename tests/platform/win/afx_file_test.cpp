#include <gtest/gtest.h>

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
