// Saving: a failed save leaves the previous file whole, and a save carries
// exactly the changed extended data and the new APPID entries.
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "adslib.h"
#include "db/database.h"
#include "db/record_build.h"
#include "db/record_tags.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

size_t filesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Saves the current drawing, acting as an unprivileged user when the tests
// run as root (who could write into the read-only folder anyway).
support::Status saveAsUser(const std::string& path) {
  bool root = ::geteuid() == 0;
  if (root && ::seteuid(65534) != 0) return support::Status::failure("cannot act as an unprivileged user");
  support::Status saved = dxf::save(path);
  if (root) {
    EXPECT_EQ(::seteuid(0), 0);
  }
  return saved;
}

TEST(Save, ReadOnlyFolderLeavesThePreviousFileIntact) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("drawing.dxf");
  db::build::newDrawing();
  ASSERT_THAT(dxf::save(path), test_support::Succeeds());
  const std::string before = test_support::readFile(path);

  db::build::addEntity("3DFACE", {{8, "0"}});
  ASSERT_EQ(::chmod(scratch.path().c_str(), 0555), 0);
  EXPECT_THAT(saveAsUser(path), test_support::FailsWith(path + ": cannot save: Permission denied"));
  ::chmod(scratch.path().c_str(), 0755);
  EXPECT_EQ(test_support::readFile(path), before);
  EXPECT_EQ(filesIn(scratch.path()), 1u);
}

TEST(Save, WriteFailingHalfwayLeavesThePreviousFileAndNoTrace) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("drawing.dxf");
  db::build::newDrawing();
  ASSERT_THAT(dxf::save(path), test_support::Succeeds());
  const std::string before = test_support::readFile(path);
  for (int i = 0; i < 20000; ++i) db::build::addEntity("POINT", {{8, "0"}, {10, "1.0"}, {20, "2.0"}, {30, "3.0"}});

  // A file-size limit stands in for a full disk.
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  support::Status written = dxf::save(path);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_THAT(written, test_support::FailsWith(path + ": cannot save: File too large"));
  EXPECT_EQ(test_support::readFile(path), before);
  EXPECT_EQ(filesIn(scratch.path()), 1u) << "the half-written file is removed";
}

TEST(Save, NewExtendedDataAndApplicationsAreAllThatChanges) {
  SKIP_WITHOUT_CORPUS();
  test_support::ScratchDir scratch;
  ASSERT_THAT(dxf::open(test_support::corpusFile("libdxf__zcad-teapot_R2000.dxf")), test_support::Succeeds());
  struct Copy {
    std::string type;
    uint64_t handle;
    std::vector<db::Tag> ordinary;
    size_t extendedData;
  };
  auto copyOf = [](const db::Record& record) {
    db::RecordTags tags(record);
    return Copy{record.type.str(), record.handle, db::ownedTags(tags.ordinary()), tags.extendedData().size()};
  };
  std::vector<Copy> before;
  for (const db::Record* record : db::currentDatabase()->records()) before.push_back(copyOf(*record));
  ASSERT_EQ(ads_regapp("VRML_Application"), RTNORM);
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);

  db::Record* face = db::currentDatabase()->entities().front();
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, AcDbObjectId(face), AcDb::kForWrite), Acad::eOk);
  resbuf* list = ads_buildlist(1001, "VRML_Application", 1070, 1, 1040, 0.25, 1001, "PE_URL", 1000, "a.wrl", 0);
  ASSERT_EQ(object->setXData(list), Acad::eOk);
  ads_relrb(list);
  object->close();
  const uint64_t handle = face->handle;

  const std::string saved = scratch.file("teapot.dxf");
  ASSERT_THAT(dxf::save(saved), test_support::Succeeds());
  ASSERT_THAT(dxf::open(saved), test_support::Succeeds());
  db::Database& after = *db::currentDatabase();
  ASSERT_EQ(after.records().size(), before.size() + 2) << "two APPID entries";
  EXPECT_TRUE(after.isRegisteredApp("vrml_application"));
  db::Record* reread = after.byHandle(handle);
  ASSERT_NE(reread, nullptr);
  db::RecordTags rereadTags(*reread);
  auto xdata = rereadTags.extendedData();
  ASSERT_EQ(xdata.size(), 5u);
  EXPECT_EQ(xdata[0].value, "VRML_Application");
  EXPECT_EQ(xdata[2].value, "0.25");
  EXPECT_EQ(xdata[3].value, "PE_URL");
  EXPECT_EQ(xdata[4].value, "a.wrl");

  // Apart from the additions (and the header's next handle), the saved file
  // is the original tag for tag.
  size_t j = 0, changed = 0;
  auto addedApp = [](const db::Record& record) {
    auto name = db::RecordTags(record).find(2);
    return record.type == "APPID" && (name == "VRML_Application" || name == "PE_URL");
  };
  for (const Copy& record : before) {
    while (addedApp(*after.records()[j])) ++j;
    const Copy other = copyOf(*after.records()[j++]);
    ASSERT_EQ(record.ordinary.size(), other.ordinary.size()) << record.type;
    for (size_t k = 0; k < record.ordinary.size(); ++k) changed += record.ordinary[k].value != other.ordinary[k].value;
    if (record.handle != handle) {
      EXPECT_EQ(record.extendedData, other.extendedData);
    }
  }
  EXPECT_EQ(changed, 1u) << "$HANDSEED";
}

// Opens the drawing at `path`, which the open repairs (its notice naming
// `repair`), and saves it over itself.
void openRepairedAndSave(const std::string& path, const std::string& repair) {
  ASSERT_THAT(dxf::open(path), test_support::Succeeds());
  EXPECT_THAT(dxf::openNotice(), testing::HasSubstr(repair));
  ASSERT_THAT(dxf::save(path), test_support::Succeeds());
}

// Opening repairs the missing layer with a new record, which takes a
// handle while the header has no value to raise.
TEST(Save, AHeaderEndingOnHandseedWithoutAValueTakesNewRecordsAndSaves) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("seedless.dxf");
  test_support::writeFile(path,
                          "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n0\nENDSEC\n"
                          "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n0\n0\nENDTAB\n0\nENDSEC\n"
                          "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nwalls\n0\nENDSEC\n0\nEOF\n");
  ASSERT_NO_FATAL_FAILURE(openRepairedAndSave(path, "layer"));
  ASSERT_THAT(dxf::open(path), test_support::Succeeds());
  EXPECT_THAT(test_support::readFile(path), testing::HasSubstr("9\n$HANDSEED\n  0\nENDSEC"));
}

// A dictionary entry names an object no record holds, which another record
// hard-owns first: the empty object added for the entry takes that owner,
// the one an ownerless object would be given when the drawing is read again,
// so the saved drawing needs no second repair.
TEST(Save, AnObjectAddedForADictionaryEntryNeedsNoRepairWhenReadAgain) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("claimed.dxf"), again = scratch.file("again.dxf");
  test_support::writeFile(path,
                          "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
                          "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n100\nAcDbDictionary\n"
                          "0\nSTYLEBOOK\n5\n20\n360\n2A\n"
                          "0\nDICTIONARY\n100\nAcDbDictionary\n3\nSTANDARD\n350\n2A\n0\nENDSEC\n0\nEOF\n");
  ASSERT_NO_FATAL_FAILURE(openRepairedAndSave(path, "dictionary entry"));
  std::string saved = test_support::readFile(path);
  EXPECT_THAT(saved, testing::HasSubstr("XRECORD\n  5\n2A\n102\n{ACAD_REACTORS\n330\n20\n102\n}\n330\n20\n"));
  ASSERT_THAT(dxf::open(path), test_support::Succeeds());
  EXPECT_EQ(dxf::openNotice(), "") << "repaired again";
  ASSERT_THAT(dxf::save(again), test_support::Succeeds());
  EXPECT_TRUE(test_support::readFile(again) == saved);
}

}  // namespace
