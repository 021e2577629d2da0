#include "wrl_out.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "ArxUtil.h"
#include "OptionsDlg.h"
#include "ProgressDlg.h"
#include "StdAfx.h"
#include "dbmain.h"
#include "message.h"
#include "res/resource.h"
#include "wrl_color.h"
#include "wrl_file.h"
#include "wrl_mat.h"
#include "wrl_url.h"

// Out of memory while a batch is built: the whole entity is dropped. Its
// lists are released and every later batch is ignored, so the export loop
// finds the object incomplete and counts it as ignored. Writing part of an
// entity could leave faces whose points were never stored. Appending a batch
// reports nothing, so a batch that found no room shows as a size that did
// not grow.

WrlCallout::WrlCallout() : faceObject(new (std::nothrow) WrlFaceObject) {}

namespace {

// A spare list emptied, or a new one (absent when memory is short).
template <typename List>
List* reusedList(List*& spare) {
  List* list = std::exchange(spare, nullptr);
  if (!list) return new (std::nothrow) List;
  list->clear();
  return list;
}

template <typename List>
void keepSpare(List* list, List*& spare) {
  if (!list) return;
  delete spare;
  spare = list;
}

}  // namespace

WrlCallout::~WrlCallout() {
  dropEntity();
  delete m_sparePoints;
  delete m_spareFaces;
}

bool WrlCallout::beginEntity() {
  indexBase = 0;
  vertexCount = 0;
  faceCount = 0;
  m_outOfRange = false;
  if (!faceObject) return (faceObject = new (std::nothrow) WrlFaceObject) != nullptr;
  keepSpare(faceObject->takePoints(), m_sparePoints);
  keepSpare(faceObject->takeFaces(), m_spareFaces);
  return true;
}

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

namespace {

// NaN fails too. Spelled out: it runs for every vertex of an export.
bool singlePrecision(const ads_point at) {
  return std::fabs(at[X]) <= FLT_MAX && std::fabs(at[Y]) <= FLT_MAX && std::fabs(at[Z]) <= FLT_MAX;
}

}  // namespace

void WrlCallout::onVertices(const AcreVertex* vertices) {
  if (vertexCount <= 0 || !faceObject || m_outOfRange) return;
  WrlPointList* batch = reusedList(m_sparePoints);
  if (!batch) return dropEntity();
  const bool toUcs = ucsTransform == 1;  // read once: no call in the loop changes it
  for (int32_t k = 0; k < vertexCount; ++k) {
    ads_point at = {vertices[k].x, vertices[k].y, vertices[k].z};
    if (toUcs) {
      ads_point world = {at[X], at[Y], at[Z]};
      acdbWcs2Ucs(world, at, 0);
    }
    if (!singlePrecision(at)) {
      delete batch;
      faceObject->release();
      m_outOfRange = true;
      return;
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
  if (!faceObject || m_outOfRange) return;
  WrlFaceList* batch = nullptr;
  for (int32_t k = 0; k < faceCount; ++k) {
    WrlFace face;
    int n = polygons[k].cornerCount;
    for (int j = 0; j < n; ++j) face.setCorner(j, corners[k][j] + indexBase);
    face.setCount(n);
    if (!batch && !(batch = reusedList(m_spareFaces))) return dropEntity();
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
  HostText layer(entity->layer());
  if (!layer) AfxThrowMemoryException();  // not a layer of colour 7
  return layerColorIndex(layer.get());
}

// Colour 7 (white on black, black on white) has no colour of its own to
// export, so such objects get no material of their own (the writer gives a
// VRML 2.0 shape the default one). ByBlock (0) has none either: the
// material keeps its own diffuse colour.
void readAppearance(const AcDbEntity* entity, WrlMaterial& material, WrlUrl& url) {
  int color = effectiveColorIndex(entity);
  if (color != 7) {
    material.readFromObject(entity);
    WrlColor acadColor;
    if (material.useAcadColor() == 1 && acadColor.setIndex(color)) material.setDiffuseColor(acadColor);
  }
  url.readFromObject(entity);
}

void writeShape(WrlFile& file, int number, const WrlUrl& url, const WrlMaterial& material,
                const WrlFaceObject& object) {
  file.writeAnchor(url);
  file.beginObject(number);
  file.writeMaterial(material);
  file.writeFaceObject(object);
  file.closeObjects();
}

// A memory shortage may end the command anywhere (the framework's error);
// these hold what must be given back on every way out.

void closeProgress(CProgressDlg* progress) {
  if (progress->GetSafeHwnd()) progress->DestroyWindow();
  delete progress;
}
using ProgressWindow = wrl_scope::Held<CProgressDlg, closeProgress>;

// A selection set the host made for the module, freed when it goes.
class OwnedSelection {
 public:
  OwnedSelection() = default;
  ~OwnedSelection() {
    if (m_held) ads_ssfree(m_name);
  }
  OwnedSelection(const OwnedSelection&) = delete;
  OwnedSelection& operator=(const OwnedSelection&) = delete;
  // Where the host puts a new set.
  long* slot() { return m_name; }
  // The status of the call that filled slot(); on success the set is held.
  int keep(int status) {
    m_held = status == RTNORM;
    return status;
  }
  const long* name() const { return m_name; }

 private:
  ads_name m_name = {0, 0};
  bool m_held = false;
};

// The capture object is registered with the host only while this lives.
class CalloutRegistration {
 public:
  explicit CalloutRegistration(WrlCallout* callout) { acreRegisterCallout(callout); }
  ~CalloutRegistration() { acreRegisterCallout(nullptr); }
  CalloutRegistration(const CalloutRegistration&) = delete;
  CalloutRegistration& operator=(const CalloutRegistration&) = delete;
};

// The face file the facetter names: removed and its name released.
void removeFaceFile(char* name) {
  if (*name) std::remove(name);
  acad_free(name);
}
using FaceFile = wrl_scope::Held<char, removeFaceFile>;

// What the export of one entity came to.
enum class EntityExport {
  kConverted,
  kIgnored,
  kIgnoredOutOfMemory,  // its capture could not get memory
  kNotOpened,           // neither converted nor ignored: the progress stays
  kFailed,              // the selection could not be read: the loop ends
};

// The objects the loop reuses from one entity to the next.
struct EntityScratch {
  WrlMaterial material;
  WrlUrl url;  // its texts are released by its destructor
  WrlCallout callout;
};

// Entity `i` of the selection: its appearance read into the scratch material
// and URL, its facets captured and, when they are whole, written as shape i + 1.
EntityExport exportEntity(const ads_name ss, long i, WrlFile& file, EntityScratch& scratch) {
  WrlMaterial& material = scratch.material;
  WrlUrl& url = scratch.url;
  url.clear();
  material.reset();

  ads_name entityName;
  if (ads_ssname(ss, i, entityName) != RTNORM) {
    ads_printf(messageText(IDS_NO_SSNAME));
    return EntityExport::kFailed;
  }
  AcDbObjectId id;
  acdbGetObjectId(id, entityName);
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
    ads_printf(messageText(IDS_CANNOT_OPEN_ENTITY), i);
    return EntityExport::kNotOpened;
  }
  {
    OpenObject<AcDbEntity> opening(entity);
    readAppearance(entity, material, url);
  }

  OwnedSelection single;
  if (single.keep(ads_ssadd(entityName, nullptr, single.slot())) != RTNORM) {
    ads_printf(messageText(IDS_NO_SSADD));
    return EntityExport::kFailed;
  }
  WrlCallout* callout = &scratch.callout;
  if (!callout->beginEntity()) return EntityExport::kIgnoredOutOfMemory;
  char* faceFileName = nullptr;
  Acad::ErrorStatus status;
  {
    CalloutRegistration registration(callout);
    callout->ucsTransform = ucsTransform;
    status = acreEntityToFaces(single.name(), &faceFileName, 1);
  }
  FaceFile faceFile(faceFileName);
  if (!callout->faceObject) return EntityExport::kIgnoredOutOfMemory;  // absent only for lack of memory
  if (status != Acad::eOk || !callout->faceObject->isComplete()) return EntityExport::kIgnored;
  writeShape(file, static_cast<int>(i + 1), url, material, *callout->faceObject);
  return EntityExport::kConverted;
}

// The loop itself. An entity whose capture ran out of memory is counted as
// ignored like any other, but the export then ends as failed (0), so the
// user learns that the world file lacks objects of the drawing.
int exportEntities(const ads_name ss, WrlFile& file) {
  long length = 0;
  if (ads_sslength(ss, &length) != RTNORM) {
    ads_printf(messageText(IDS_LOOP_NO_SSLENGTH));
    return 0;
  }
  if (length == 0) {
    ads_printf(messageText(IDS_LOOP_EMPTY_SELECTION));
    return 0;
  }
  ProgressWindow progress(new CProgressDlg(CWnd::FromHandle(adsw_acadMainWnd())));
  progress->Create();
  progress->setRange(static_cast<int>(length));

  EntityScratch scratch;
  bool memoryShort = false;
  for (long i = 0; i < length; ++i) {
    if (progress->isCancelled()) return 0;
    EntityExport outcome = exportEntity(ss, i, file, scratch);
    if (outcome == EntityExport::kFailed) return 0;
    if (outcome == EntityExport::kNotOpened) continue;
    memoryShort = memoryShort || outcome == EntityExport::kIgnoredOutOfMemory;
    if (outcome == EntityExport::kConverted) progress->addConverted();
    else progress->addIgnored();
    progress->step();
  }
  return memoryShort ? 0 : 1;
}

}  // namespace

// Out of memory anywhere in the loop ends it as failed; the shapes written
// so far are whole, and the caller still closes the file.
int exportSelection(const ads_name ss, WrlFile& file) {
  try {
    return exportEntities(ss, file);
  } catch (CMemoryException* error) {
    error->Delete();
    return 0;
  }
}

// A shortage is the framework's error, so that it is not taken for Cancel.
int askOutputFile(TextBuffer& path) {
  resbuf* answer = ads_newrb(RTSTR);
  if (!answer) AfxThrowMemoryException();
  int status = ads_getfiled(messageText(IDS_FILE_DIALOG_TITLE), nullptr, "wrl", 3, answer);
  bool chosen = status == RTNORM && answer->resval.rstring;
  if (chosen) {
    size_t length = std::strlen(answer->resval.rstring);
    path.reset(new (std::nothrow) char[length + 1]);
    if (path) std::memcpy(path.get(), answer->resval.rstring, length + 1);
  }
  ads_relrb(answer);
  if (chosen && !path) AfxThrowMemoryException();
  // Cancel ends the command silently; a dialog that failed does not.
  if (status != RTNORM && status != RTCAN) ads_printf(messageText(IDS_CANNOT_CREATE_OUTPUT));
  return chosen ? 1 : 0;
}

void VRMLOUT() {
  COptionsDlg options(nullptr);
  WrlFile file;

  ads_printf(messageText(IDS_SELECT_OBJECTS));
  OwnedSelection ss;
  if (ss.keep(ads_ssget(nullptr, nullptr, nullptr, nullptr, ss.slot())) != RTNORM) return;
  long length = 0;
  if (ads_sslength(ss.name(), &length) != RTNORM) {
    ads_printf(messageText(IDS_NO_SSLENGTH));
    return;
  }
  if (length == 0) {
    ads_printf(messageText(IDS_EMPTY_SELECTION));
    return;
  }
  TextBuffer path;
  if (!askOutputFile(path)) return;
  if (options.DoModal() != IDOK) return;
  ucsTransform = options.m_options.ucsTransform;
  file.setVersion(options.getVersion());

  // A file that cannot be created is said so at once: faceting the whole
  // selection into nothing would only look like success.
  if (!file.open(path.get())) {
    ads_printf(messageText(IDS_CANNOT_CREATE_OUTPUT));
    return;
  }
  // `&`, not `&&`: the scale runs after a failed header too, because it opens
  // the outer nodes that close() ends; the file stays balanced either way.
  int headed = file.writeHeader() & file.writeScale(options.getScale());
  int exported = exportSelection(ss.name(), file);
  // A full disk must not pass for a finished export: one message for a
  // failed loop, a failed write or a failed close.
  bool reported = false;
  if (exported != 1 || !headed || file.writeFailed()) {
    ads_printf(messageText(IDS_CREATE_FAILED));
    reported = true;
  }
  if (!file.close() && !reported) ads_printf(messageText(IDS_CREATE_FAILED));
}
