// Openings inside a command reuse the storage of those closed before it;
// what each opening reads must still be its own record's, as it is now.
#include <gtest/gtest.h>

#include <string>

#include "adslib.h"
#include "db/opening_spares.h"
#include "dbbuild.h"
#include "dbmain.h"

namespace {

std::string firstUrl(const AcDbObject& object) {
  resbuf* list = object.xData("PE_URL");
  std::string url = list && list->rbnext ? list->rbnext->resval.rstring : "<none>";
  ads_relrb(list);
  return url;
}

std::string urlOf(AcDbObjectId id) {
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eOk);
  if (!object) return "<not opened>";
  std::string url = firstUrl(*object);
  object->close();
  return url;
}

Acad::ErrorStatus attachUrl(AcDbObject& object, const char* url) {
  resbuf* list = ads_buildlist(1001, "PE_URL", 1000, url, 0);
  Acad::ErrorStatus status = object.setXData(list);
  ads_relrb(list);
  return status;
}

TEST(OpeningSpares, OpeningsInACommandReadTheirOwnRecordsAndChanges) {
  acdb_build::newDrawing();
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
  AcDbObjectId first = acdb_build::addEntity("LINE", {{8, "0"}});
  AcDbObjectId second = acdb_build::addEntity("LINE", {{8, "0"}});
  AcDbObjectId plain = acdb_build::addEntity("LINE", {{8, "0"}});
  acdb_detail::openingsCommandStarted();
  for (auto [id, url] : {std::pair{first, "a.wrl"}, std::pair{second, "b.wrl"}}) {
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(firstUrl(*object), "<none>");
    EXPECT_EQ(attachUrl(*object, url), Acad::eOk);
    EXPECT_EQ(firstUrl(*object), url) << "an opening for write reads its own change";
    object->close();
  }
  EXPECT_EQ(urlOf(first), "a.wrl");
  EXPECT_EQ(urlOf(second), "b.wrl");
  EXPECT_EQ(urlOf(plain), "<none>");
  EXPECT_EQ(urlOf(first), "a.wrl");
  acdb_detail::openingsCommandEnded();
  EXPECT_EQ(urlOf(second), "b.wrl") << "outside a command";
}

}  // namespace
