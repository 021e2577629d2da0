// The facetter's calls: one registered callout receives the polygons of
// every entity of a selection set.
#include <vector>

#include "acre.h"
#include "adslib.h"
#include "db/database.h"
#include "facet_records.h"
#include "render/message_pump.h"

namespace {
AcreCallout* g_callout = nullptr;
}  // namespace

int acreRegisterCallout(AcreCallout* callout) {
  g_callout = callout;
  return Acad::eOk;
}

// `mode` is accepted as given: every mode delivers to the registered callout.
Acad::ErrorStatus acreEntityToFaces(const ads_name ss, char** faceFileName, int /*mode*/) {
  if (faceFileName) *faceFileName = nullptr;
  // The host dispatches window messages while it facets, so a modeless
  // dialog's Cancel is seen between entities.
  render::pumpMessages();
  long length = 0;
  if (ads_sslength(ss, &length) != RTNORM || length <= 0) return Acad::eInvalidAdsName;
  // A set of one entity, the common call, needs no list.
  const db::Record* single = nullptr;
  std::vector<const db::Record*> records;
  if (length > 1) records.reserve(static_cast<size_t>(length));
  for (long i = 0; i < length; ++i) {
    ads_name entity;
    if (ads_ssname(ss, i, entity) != RTNORM) return Acad::eInvalidAdsName;
    const db::Record* record = db::recordOf(entity);
    if (!record) return Acad::eInvalidAdsName;
    if (length == 1) single = record;
    else records.push_back(record);
  }
  if (length == 1) return render::facetRecords({&single, 1}, g_callout, faceFileName);
  return render::facetRecords(records, g_callout, faceFileName);
}
