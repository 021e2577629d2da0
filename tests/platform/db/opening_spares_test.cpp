// Openings inside a command reuse the storage of those closed before it;
// what each opening reads must still be its own record's.
#include <gtest/gtest.h>

#include <string>

#include "adslib.h"
#include "db/opening_spares.h"
#include "dbbuild.h"
#include "dbmain.h"

namespace {

std::string urlOf(const AcDbObject& object) {
  resbuf* list = object.xData("PE_URL");
  std::string url = list && list->rbnext ? list->rbnext->resval.rstring : "<none>";
  ads_relrb(list);
  return url;
}

// Opens `id` (attaching `url` when given) and answers the link it then reads.
std::string openAndRead(AcDbObjectId id, const char* url = nullptr) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, url ? AcDb::kForWrite : AcDb::kForRead) != Acad::eOk) return "<not opened>";
  if (url) {
    resbuf* list = ads_buildlist(1001, "PE_URL", 1000, url, 0);
    EXPECT_EQ(urlOf(*object), "<none>");
    EXPECT_EQ(object->setXData(list), Acad::eOk);
    ads_relrb(list);
  }
  std::string read = urlOf(*object);
  object->close();
  return read;
}

TEST(OpeningSpares, OpeningsInACommandReadTheirOwnRecordsAndChanges) {
  db::build::newDrawing();
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
  AcDbObjectId first = db::build::addEntity("LINE", {{8, "0"}});
  AcDbObjectId second = db::build::addEntity("LINE", {{8, "0"}});
  AcDbObjectId plain = db::build::addEntity("LINE", {{8, "0"}});
  db::openingsCommandStarted();
  EXPECT_EQ(openAndRead(first, "a.wrl"), "a.wrl") << "an opening for write reads its own change";
  EXPECT_EQ(openAndRead(second, "b.wrl"), "b.wrl");
  EXPECT_EQ(openAndRead(first), "a.wrl");
  EXPECT_EQ(openAndRead(plain), "<none>");
  EXPECT_EQ(openAndRead(second), "b.wrl");
  db::openingsCommandEnded();
  EXPECT_EQ(openAndRead(first), "a.wrl") << "outside a command";
}

}  // namespace
