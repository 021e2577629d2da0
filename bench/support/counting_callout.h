// A callout that only counts what the facetter reports, touching every
// corner so that the records are really read.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdint>

#include "acre.h"

class CountingCallout : public AcreCallout {
 public:
  void slot0(int32_t) override {}
  void slot1(int32_t) override {}
  void slot2(int32_t, int32_t) override {}
  void onHeader(const AcreMeshHeader* header) override {
    m_batchPolygons = header->polygonCount;
    vertices += header->vertexCount;
  }
  void onVertices(const AcreVertex* list) override { benchmark::DoNotOptimize(list); }
  void slot5(int32_t) override {}
  void onFaces(const AcrePolygon* polygons, const int32_t* const* corners) override {
    for (int32_t i = 0; i < m_batchPolygons; ++i) {
      for (int16_t c = 0; c < polygons[i].cornerCount; ++c) cornerSum += corners[i][c];
      ++faces;
    }
  }

  int64_t faces = 0;
  int64_t vertices = 0;
  int64_t cornerSum = 0;

 private:
  int32_t m_batchPolygons = 0;
};
