// VRMLPROP: a link and material settings for one picked object; VRMLABOUT.
#include "wrl_props.h"

#include "AboutDialog.h"
#include "PropDialog.h"
#include "adslib.h"
#include "dbmain.h"
#include "message.h"
#include "res/resource.h"
#include "wrl_mat.h"
#include "wrl_scope.h"
#include "wrl_url.h"

namespace {

// The picked object, if it is one the drawing can open.
int pickObject(AcDbObjectId& id) {
  ads_name entity;
  ads_point picked;
  if (ads_entsel(messageText(IDS_SELECT_OBJECT), entity, picked) != RTNORM) return 0;
  if (acdbGetObjectId(id, entity) != Acad::eOk) return 0;
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return 0;
  OpenObject<> opening(object);
  return 1;
}

// The object's current link and material over the fresh records; a missing
// or malformed list leaves the fresh values in place.
int readRecords(AcDbObjectId id, WrlUrl& url, WrlMaterial& material) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return 0;
  OpenObject<> opening(object);
  url.readFromObject(object);
  material.readFromObject(object);
  return 1;
}

void writeRecords(AcDbObjectId id, const WrlUrl& url, const WrlMaterial& material) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) {
    ads_printf(messageText(IDS_CANNOT_OPEN_FOR_WRITE));
    return;
  }
  OpenObject<> opening(object);
  // Separate attachments: a link the host refuses does not cost the material.
  if (url.writeToObject(object) != 1) ads_printf(messageText(IDS_URL_ATTACH_FAILED));
  if (material.writeToObject(object) != 1) ads_printf(messageText(IDS_MATERIAL_ATTACH_FAILED));
}

// An empty entry means no text at all.
const char* textOrNone(const CString& text) { return text.IsEmpty() ? nullptr : static_cast<const char*>(text); }

}  // namespace

int runPropertiesDialog(WrlUrl& url, WrlMaterial& material) {
  CPropDialog dialog(CWnd::FromHandle(adsw_acadMainWnd()));
  dialog.m_shininess = material.shininess();
  dialog.m_transparency = material.transparency();
  dialog.m_useAcadColor = material.useAcadColor();
  dialog.m_url = url.url() ? url.url() : "";
  dialog.m_description = url.description() ? url.description() : "";
  if (dialog.DoModal() != IDOK) return 0;
  material.setUseAcadColor(dialog.m_useAcadColor == 1);
  material.setShininess(dialog.m_shininess);
  material.setTransparency(dialog.m_transparency);
  // A text that cannot be copied would leave the old one beside the new.
  if (!url.setUrl(textOrNone(dialog.m_url)) || !url.setDescription(textOrNone(dialog.m_description)))
    AfxThrowMemoryException();
  return 1;
}

void VRMLPROP() {
  WrlMaterial material;
  WrlUrl url;  // cleared by its destructor on every way out
  AcDbObjectId id;
  if (!pickObject(id) || !readRecords(id, url, material)) return;
  if (!runPropertiesDialog(url, material)) return;
  writeRecords(id, url, material);
}

void VRMLABOUT() {
  CAboutDialog about;  // no parent window
  about.DoModal();     // OK or the close box; either ends it
}
