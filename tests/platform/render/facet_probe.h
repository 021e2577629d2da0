// Test support: entities made from tag lists, and a callout that records
// what the facetter delivers, batch by batch, with the sums tests compare.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "acre.h"
#include "render/batch_emitter.h"
#include "render/entity_facetter.h"
#include "render/entity_view.h"

namespace facet_test {

using render::Vec3;
// Tags a test owns and changes; the facetter sees them as views.
class Tags {
 public:
  void push_back(db::Tag tag) { m_tags.push_back(std::move(tag)); }
  size_t size() const { return m_tags.size(); }
  db::Tag& operator[](size_t i) { return m_tags[i]; }
  const db::Tag& operator[](size_t i) const { return m_tags[i]; }
  auto begin() { return m_tags.begin(); }
  auto end() { return m_tags.end(); }
  auto begin() const { return m_tags.begin(); }
  auto end() const { return m_tags.end(); }
  // Views of the tags as they are now.
  operator render::TagSpan() const {
    m_views.clear();
    for (const db::Tag& tag : m_tags) m_views.push_back({tag.code, tag.value});
    return m_views;
  }

 private:
  std::vector<db::Tag> m_tags;
  mutable std::vector<db::TagView> m_views;
};

inline Tags tags(std::initializer_list<std::pair<int, std::string>> list) {
  Tags out;
  for (const auto& [code, value] : list) out.push_back({static_cast<int16_t>(code), value});
  return out;
}

inline std::string num(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// A point as three tags from `code`.
inline void addPoint(Tags& out, int code, const Vec3& p) {
  out.push_back({static_cast<int16_t>(code), num(p.x)});
  out.push_back({static_cast<int16_t>(code + 10), num(p.y)});
  out.push_back({static_cast<int16_t>(code + 20), num(p.z)});
}

struct Box {
  Vec3 low{INFINITY, INFINITY, INFINITY};
  Vec3 high{-INFINITY, -INFINITY, -INFINITY};
  void add(const Vec3& p) {
    low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
    high = {std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z)};
  }
};

// Records every batch; polygons keep their corners as world points.
class RecordingCallout : public AcreCallout {
 public:
  struct Batch {
    int32_t vertexCount = 0, polygonCount = 0;
    std::vector<Vec3> vertices;
    std::vector<std::vector<int32_t>> polygons;
  };
  std::vector<Batch> batches;
  int outOfOrderCalls = 0;  // vertices or faces without a header first

  void slot0(int32_t) override {}
  void slot1(int32_t) override {}
  void slot2(int32_t, int32_t) override {}
  void slot5(int32_t) override {}
  void onHeader(const AcreMeshHeader* header) override {
    batches.push_back({header->vertexCount, header->polygonCount, {}, {}});
    m_expect = 1;
  }
  void onVertices(const AcreVertex* vertices) override {
    if (m_expect != 1) ++outOfOrderCalls;
    m_expect = 2;
    for (int32_t i = 0; i < batches.back().vertexCount; ++i)
      batches.back().vertices.push_back({vertices[i].x, vertices[i].y, vertices[i].z});
  }
  void onFaces(const AcrePolygon* polygons, const int32_t* const* corners) override {
    if (m_expect != 2) ++outOfOrderCalls;
    m_expect = 0;
    for (int32_t k = 0; k < batches.back().polygonCount; ++k)
      batches.back().polygons.emplace_back(corners[k], corners[k] + polygons[k].cornerCount);
  }

  // Every polygon as its corner points.
  std::vector<std::vector<Vec3>> polygons() const {
    std::vector<std::vector<Vec3>> out;
    for (const Batch& batch : batches)
      for (const auto& polygon : batch.polygons) {
        std::vector<Vec3> points;
        for (int32_t index : polygon) points.push_back(batch.vertices.at(index));
        out.push_back(points);
      }
    return out;
  }
  // Sum of polygon areas, each polygon cut as a fan about its first corner.
  double area() const {
    double sum = 0;
    for (const auto& p : polygons())
      for (size_t i = 1; i + 1 < p.size(); ++i) sum += (p[i] - p[0]).cross(p[i + 1] - p[0]).length() / 2;
    return sum;
  }
  Box box() const {
    Box b;
    for (const auto& p : polygons())
      for (const Vec3& v : p) b.add(v);
    return b;
  }
  size_t polygonCount() const { return polygons().size(); }

 private:
  int m_expect = 0;
};

// The same batches with the same vertices and corners, one by one.
inline void expectSameBatches(const RecordingCallout& got, const RecordingCallout& wanted) {
  ASSERT_EQ(got.batches.size(), wanted.batches.size());
  for (size_t b = 0; b < wanted.batches.size(); ++b) {
    EXPECT_EQ(got.batches[b].vertices, wanted.batches[b].vertices) << "batch " << b;
    EXPECT_EQ(got.batches[b].polygons, wanted.batches[b].polygons) << "batch " << b;
  }
}

// Blocks for inserts, held by name.
class Blocks : public render::BlockSource {
 public:
  struct Block {
    Vec3 base;
    std::vector<std::pair<std::string, Tags>> entities;
  };
  std::vector<std::pair<std::string, Block>> blocks;

  bool find(std::string_view name, render::BlockContents& contents) const override {
    for (const auto& [blockName, block] : blocks) {
      if (blockName != name) continue;
      contents.base = block.base;
      contents.entities.clear();
      for (const auto& [type, entityTags] : block.entities) contents.entities.push_back({type, entityTags, {}});
      return true;
    }
    return false;
  }
};

// Facets one entity into a recording callout.
struct Faceted {
  RecordingCallout callout;
  Acad::ErrorStatus status = Acad::eOk;
};

inline Faceted facet(const render::EntityView& entity, const Blocks* blocks = nullptr) {
  Faceted result;
  render::BatchEmitter out(&result.callout);
  result.status = render::facetEntity(entity, blocks, out);
  if (result.status == Acad::eOk) out.finish();
  return result;
}

inline Faceted facet(const std::string& type, const Tags& entityTags, const Blocks* blocks = nullptr) {
  return facet(render::EntityView{type, entityTags, {}}, blocks);
}

}  // namespace facet_test
