#include "wrl_out.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "OptionsDlg.h"
#include "ProgressDlg.h"
#include "StdAfx.h"
#include "dbmain.h"
#include "message.h"
#include "wrl_color.h"
#include "wrl_file.h"
#include "wrl_mat.h"
#include "wrl_url.h"

// Out of memory while a batch is built: the whole entity is dropped. Its
// lists are released and every later batch is ignored, so the export loop
// finds the object incomplete and counts it as ignored. Writing part of an
// entity could leave faces whose points were never stored.

WrlCallout::WrlCallout() : faceObject(new (std::nothrow) WrlFaceObject) {}

WrlCallout::~WrlCallout() { dropEntity(); }

void WrlCallout::dropEntity() {
  if (!faceObject) return;
  faceObject->release();
  delete faceObject;
  faceObject = nullptr;
}

void WrlCallout::onHeader(const AcreMeshHeader* header) {
  vertexCount = header->vertexCount;
  faceCount = header->polygonCount;
}

void WrlCallout::onVertices(const AcreVertex* vertices) {
  if (vertexCount <= 0 || !faceObject) return;
  WrlPointList* batch = new (std::nothrow) WrlPointList;
  if (!batch) return dropEntity();
  for (int32_t k = 0; k < vertexCount; ++k) {
    ads_point at = {vertices[k].x, vertices[k].y, vertices[k].z};
    if (ucsTransform == 1) {
      ads_point world = {at[X], at[Y], at[Z]};
      acdbWcs2Ucs(world, at, 0);
    }
    if (!batch->add(WrlPoint(at[X], at[Y], at[Z]))) {
      delete batch;
      return dropEntity();
    }
  }
  size_t before = faceObject->points() ? faceObject->points()->size() : 0;
  faceObject->appendPoints(batch);
  size_t after = faceObject->points() ? faceObject->points()->size() : 0;
  if (after != before + static_cast<size_t>(vertexCount)) dropEntity();
}

void WrlCallout::onFaces(const AcrePolygon* polygons, const int32_t* const* corners) {
  if (!faceObject) return;
  WrlFaceList* batch = nullptr;
  for (int32_t k = 0; k < faceCount; ++k) {
    WrlFace face;
    int n = polygons[k].cornerCount;
    for (int j = 0; j < n; ++j) face.setCorner(j, corners[k][j] + indexBase);
    face.setCount(n);
    if (!batch && !(batch = new (std::nothrow) WrlFaceList)) return dropEntity();
    if (!batch->add(face)) {
      delete batch;
      return dropEntity();
    }
  }
  if (batch) {
    size_t before = faceObject->faces() ? faceObject->faces()->size() : 0;
    size_t added = batch->size();
    faceObject->appendFaces(batch);
    size_t after = faceObject->faces() ? faceObject->faces()->size() : 0;
    if (after != before + added) return dropEntity();
  }
  indexBase = faceObject->points() ? static_cast<int32_t>(faceObject->points()->size()) : 0;
}

int32_t ucsTransform = 0;

namespace {

// The colour an entity is drawn in, ByLayer resolved through its layer.
int effectiveColorIndex(const AcDbEntity* entity) {
  int color = entity->colorIndex();
  if (color != 256) return color;
  char* layer = entity->layer();
  color = layerColorIndex(layer);
  acad_free(layer);
  return color;
}

// Colour 7 (white on black, black on white) has no colour of its own to
// export, so such objects get no material. ByBlock (0) has none either: the
// material keeps its own diffuse colour.
void readAppearance(const AcDbEntity* entity, WrlMaterial& material, WrlUrl& url) {
  int color = effectiveColorIndex(entity);
  if (color != 7) {
    material.readFromObject(entity);
    WrlColor acadColor;
    if (material.useAcadColor() == 1 && acadColor.setIndex(color))
      material.setDiffuseColor(acadColor);
  }
  url.readFromObject(entity);
}

void releaseFaceFile(char* name) {
  if (!name) return;
  if (*name) std::remove(name);
  acad_free(name);
}

void writeShape(WrlFile& file, int number, const WrlUrl& url, const WrlMaterial& material,
                const WrlFaceObject& object) {
  file.writeAnchor(url);
  file.beginObject(number);
  file.writeMaterial(material);
  file.writeFaceObject(object);
  file.closeObjects();
}

void endProgress(CProgressDlg* progress) {
  if (progress->GetSafeHwnd()) progress->DestroyWindow();
  delete progress;
}

}  // namespace

int exportSelection(const ads_name ss, WrlFile& file) {
  long length = 0;
  if (ads_sslength(ss, &length) != RTNORM) {
    ads_printf(messageText(5));
    return 0;
  }
  if (length == 0) {
    ads_printf(messageText(6));
    return 0;
  }
  CProgressDlg* progress = new CProgressDlg(CWnd::FromHandle(adsw_acadMainWnd()));
  progress->Create();
  progress->setRange(static_cast<int>(length));

  WrlMaterial material;
  WrlUrl url;
  int result = 1;
  for (long i = 0; i < length; ++i) {
    if (progress->isCancelled()) {
      result = 0;
      break;
    }
    url.clear();
    material.reset();

    ads_name entityName;
    if (ads_ssname(ss, i, entityName) != RTNORM) {
      ads_printf(messageText(8));
      result = 0;
      break;
    }
    AcDbObjectId id;
    acdbGetObjectId(id, entityName);
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
      ads_printf(messageText(9), i);
      continue;
    }
    readAppearance(entity, material, url);
    entity->close();

    ads_name single;
    if (ads_ssadd(entityName, nullptr, single) != RTNORM) {
      ads_printf(messageText(11));
      result = 0;
      break;
    }
    WrlCallout* callout = new WrlCallout;
    acreRegisterCallout(callout);
    callout->ucsTransform = ucsTransform;
    char* faceFile = nullptr;
    Acad::ErrorStatus status = acreEntityToFaces(single, &faceFile, 1);
    acreRegisterCallout(nullptr);

    bool complete = status == Acad::eOk && callout->faceObject && callout->faceObject->isComplete();
    if (complete) writeShape(file, static_cast<int>(i + 1), url, material, *callout->faceObject);
    ads_ssfree(single);
    // The facetter may name a file even when it fails; it is ours to remove.
    releaseFaceFile(faceFile);
    if (complete)
      progress->addConverted();
    else
      progress->addIgnored();
    progress->step();
    delete callout;
  }
  url.clear();
  endProgress(progress);
  return result;
}

int askOutputFile(char*& path) {
  resbuf* answer = ads_newrb(RTSTR);
  if (!answer) return 0;
  int chosen = 0;
  if (ads_getfiled(messageText(15), nullptr, "wrl", 3, answer) == RTNORM && answer->resval.rstring) {
    size_t length = std::strlen(answer->resval.rstring);
    path = new (std::nothrow) char[length + 1];
    if (path) {
      std::memcpy(path, answer->resval.rstring, length + 1);
      chosen = 1;
    }
  }
  ads_relrb(answer);
  return chosen;
}

void VRMLOUT() {
  COptionsDlg options(nullptr);
  WrlFile file;

  ads_printf(messageText(1));
  ads_name ss;
  if (ads_ssget(nullptr, nullptr, nullptr, nullptr, ss) != RTNORM) return;
  long length = 0;
  if (ads_sslength(ss, &length) != RTNORM) {
    ads_printf(messageText(2));
    ads_ssfree(ss);
    return;
  }
  if (length == 0) {
    ads_printf(messageText(3));
    ads_ssfree(ss);
    return;
  }
  char* path = nullptr;
  if (!askOutputFile(path)) {
    ads_ssfree(ss);
    return;
  }
  if (options.DoModal() != IDOK) {
    delete[] path;
    ads_ssfree(ss);
    return;
  }
  ucsTransform = options.m_options.ucsTransform;
  file.setVersion(options.m_options.version + 1);

  // A file that cannot be created is said so at once: faceting the whole
  // selection into nothing would only look like success.
  if (!file.open(path)) {
    ads_printf(messageText(7));
    delete[] path;
    ads_ssfree(ss);
    return;
  }
  int headed = file.writeHeader() & file.writeScale(options.getScale());
  int exported = exportSelection(ss, file);
  // A full disk must not pass for a finished export: one message for a
  // failed loop, a failed write or a failed close.
  bool reported = false;
  if (exported != 1 || !headed || file.writeFailed()) {
    ads_printf(messageText(4));
    reported = true;
  }
  if (!file.close() && !reported) ads_printf(messageText(4));
  delete[] path;
  ads_ssfree(ss);
}
