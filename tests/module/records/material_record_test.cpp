#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "drawing_object.h"
#include "wrl_mat.h"

namespace {

struct Rgb {
  double red, green, blue;
};

void expectColor(const WrlColor& color, Rgb expected) {
  EXPECT_EQ(color.red(), expected.red);
  EXPECT_EQ(color.green(), expected.green);
  EXPECT_EQ(color.blue(), expected.blue);
}

void expectDefaultsExceptValid(const WrlMaterial& m) {
  EXPECT_EQ(m.useAcadColor(), 1);
  expectColor(m.ambientColor(), {0.0, 0.0, 0.1});
  expectColor(m.diffuseColor(), {0.3, 0.3, 0.3});
  expectColor(m.specularColor(), {0, 0, 0});
  expectColor(m.emissiveColor(), {0, 0, 0});
  EXPECT_EQ(m.shininess(), 0.2);
  EXPECT_EQ(m.transparency(), 0.0);
}

// A stored list: the name, useAcadColor, then the reals given (at most 14).
resbuf* storedList(int useAcadColor, const std::vector<double>& reals) {
  resbuf* list = ads_buildlist(1001, "VRML_Application", 1070, useAcadColor, 0);
  resbuf* tail = list->rbnext;
  for (double value : reals) {
    tail->rbnext = ads_buildlist(1040, value, 0);
    tail = tail->rbnext;
  }
  return list;
}

using MaterialRecord = DrawingObject;

}  // namespace

TEST(MaterialValues, StartsAndResetsToTheDefaults) {
  WrlMaterial material;
  EXPECT_EQ(material.valid(), 0);
  expectDefaultsExceptValid(material);
  material.setShininess(0.9);
  material.setUseAcadColor(0);
  WrlColor blue;
  blue.setIndex(5);
  material.setDiffuseColor(blue);
  material.reset();
  EXPECT_EQ(material.valid(), 0);
  expectDefaultsExceptValid(material);
}

TEST(MaterialValues, UnitRangeSettersAcceptBoundsAndRefuseTheRestClearingValid) {
  WrlMaterial material;
  EXPECT_EQ(material.setShininess(1.0), 1);
  EXPECT_EQ(material.valid(), 1);
  EXPECT_EQ(material.setShininess(0.0), 1);
  EXPECT_EQ(material.setShininess(1.0000001), 0);
  EXPECT_EQ(material.valid(), 0);
  EXPECT_EQ(material.shininess(), 0.0);
  EXPECT_EQ(material.setTransparency(0.5), 1);
  EXPECT_EQ(material.setTransparency(std::nan("")), 0);
  EXPECT_EQ(material.setTransparency(-0.1), 0);
  EXPECT_EQ(material.transparency(), 0.5);
  EXPECT_EQ(material.valid(), 0);
}

TEST(MaterialValues, DiffuseColourIsCopiedWholeAndMakesTheMaterialValid) {
  WrlMaterial material;
  WrlColor color;
  color.setIndex(12);
  EXPECT_EQ(material.setDiffuseColor(color), 1);
  EXPECT_EQ(material.valid(), 1);
  EXPECT_EQ(material.diffuseColor().index(), 12);
  EXPECT_EQ(material.diffuseColor().red(), 0.65);
}

TEST_F(MaterialRecord, WriteThenReadGivesTheSameFieldsInTheStoredOrder) {
  WrlMaterial written;
  written.setUseAcadColor(0);
  WrlColor diffuse;
  diffuse.setRGB(0.25, 0.5, 0.75);
  written.setDiffuseColor(diffuse);
  written.setShininess(0.7);
  written.setTransparency(0.125);
  ASSERT_EQ(writeFrom(written), 1);

  resbuf* list = load("VRML_Application");
  ASSERT_EQ(itemCount(list), 16);
  const double expected[] = {0, 0, 0.1, 0.25, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0.7, 0.125};
  EXPECT_EQ(list->rbnext->restype, 1070);
  EXPECT_EQ(list->rbnext->resval.rint, 0);
  int position = 0;
  for (const resbuf* item = list->rbnext->rbnext; item; item = item->rbnext, ++position) {
    EXPECT_EQ(item->restype, 1040);
    EXPECT_EQ(item->resval.rreal, expected[position]) << "item " << position + 3;
  }
  ads_relrb(list);

  WrlMaterial read_back;
  EXPECT_EQ(readInto(read_back), 1);
  EXPECT_EQ(read_back.valid(), 1);
  EXPECT_EQ(read_back.useAcadColor(), 0);
  expectColor(read_back.diffuseColor(), {0.25, 0.5, 0.75});
  expectColor(read_back.ambientColor(), {0.0, 0.0, 0.1});
  EXPECT_EQ(read_back.shininess(), 0.7);
  EXPECT_EQ(read_back.transparency(), 0.125);
}

TEST_F(MaterialRecord, EmissiveIsStoredBeforeSpecularSoASwappedListSwapsThem) {
  store(storedList(1, {0, 0, 0, 0, 0, 0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.2, 0}));
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 1);
  expectColor(material.emissiveColor(), {0.1, 0.2, 0.3});
  expectColor(material.specularColor(), {0.4, 0.5, 0.6});
}

TEST_F(MaterialRecord, NothingStoredWhenNotValid) {
  WrlMaterial material;
  EXPECT_EQ(writeFrom(material), 1);
  resbuf* list = load("VRML_Application");
  EXPECT_EQ(list, nullptr);
  ads_relrb(list);
  EXPECT_EQ(material.writeToObject(nullptr), 0);
  EXPECT_EQ(material.readFromObject(nullptr), 0);
}

TEST_F(MaterialRecord, NoDataReadsAsFailureAndKeepsTheFields) {
  WrlMaterial material;
  material.setShininess(0.9);
  EXPECT_EQ(readInto(material), 0);
  EXPECT_EQ(material.valid(), 0);
  EXPECT_EQ(material.shininess(), 0.9);
}

TEST_F(MaterialRecord, ListOfTenItemsKeepsWhatWasTakenAndIsNotValid) {
  store(storedList(0, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.9, 0.9}));
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 0);
  EXPECT_EQ(material.valid(), 0);
  EXPECT_EQ(material.useAcadColor(), 0);
  expectColor(material.ambientColor(), {0.1, 0.2, 0.3});
  expectColor(material.diffuseColor(), {0.4, 0.5, 0.6});
  expectColor(material.emissiveColor(), {0, 0, 0});  // its triple was incomplete
  EXPECT_EQ(material.shininess(), 0.2);
}

TEST_F(MaterialRecord, MissingTransparencyFailsEvenThoughShininessWasTaken) {
  store(storedList(1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.6}));
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 0);
  EXPECT_EQ(material.valid(), 0);
  EXPECT_EQ(material.shininess(), 0.6);
}

TEST_F(MaterialRecord, WrongGroupCodeStopsTheWalk) {
  resbuf* list = storedList(1, {0.5, 0.5, 0.5});
  list->rbnext->rbnext->rbnext->restype = 1041;  // the second real of the ambient triple
  store(list);
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 0);
  EXPECT_EQ(material.valid(), 0);
  expectColor(material.ambientColor(), {0.0, 0.0, 0.1});
}

TEST_F(MaterialRecord, OutOfRangeValuesAreSkippedButTheReadSucceeds) {
  store(storedList(5, {0, 0, 0.2, 1.2, 0.5, 0.5, 0, 0, 0, 0, 0, 0, 1.5, 0.25}));
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 1);
  EXPECT_EQ(material.valid(), 1);
  EXPECT_EQ(material.useAcadColor(), 1);  // any non-zero value
  expectColor(material.ambientColor(), {0, 0, 0.2});
  expectColor(material.diffuseColor(), {0.3, 0.3, 0.3});
  EXPECT_EQ(material.shininess(), 0.2);
  EXPECT_EQ(material.transparency(), 0.25);
}

TEST_F(MaterialRecord, ItemsAfterTheSixteenthAreIgnored) {
  resbuf* list = storedList(1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.2, 0});
  resbuf* last = list;
  while (last->rbnext) last = last->rbnext;
  last->rbnext = ads_buildlist(1000, "extra", 1070, 9, 0);
  store(list);
  WrlMaterial material;
  EXPECT_EQ(readInto(material), 1);
  EXPECT_EQ(material.valid(), 1);
}

TEST_F(MaterialRecord, ShortageWhileWritingNeverAttachesAHalfBuiltList) {
  WrlMaterial material;
  material.setShininess(0.5);
  int result = 0;
  uint64_t n = 1;
  for (; n < 400 && result == 0; ++n) {
    result = writeFromFailingAllocation(material, n);
    resbuf* list = load("VRML_Application");
    EXPECT_EQ(itemCount(list), result ? 16 : 0) << n;
    ads_relrb(list);
  }
  EXPECT_EQ(result, 1);
  EXPECT_GT(n, 16u) << "every item's allocation was tried";
}
