#include "wrl_mat.h"

#include <initializer_list>

#include "wrl_xdata.h"

namespace {

constexpr const char* kMaterialApp = "VRML_Application";

// Reads three reals into a colour through its range check; false when the
// list breaks off.
bool readColor(wrl_xdata::Reader& data, WrlColor& color) {
  double rgb[3];
  for (double& component : rgb) {
    const resbuf* item = data.take(wrl_xdata::kReal);
    if (!item) return false;
    component = item->resval.rreal;
  }
  color.setRGB(rgb[0], rgb[1], rgb[2]);  // out of range: the colour stays
  return true;
}

void addColor(wrl_xdata::Builder& list, const WrlColor& color) {
  list.addReal(wrl_xdata::kReal, color.red());
  list.addReal(wrl_xdata::kReal, color.green());
  list.addReal(wrl_xdata::kReal, color.blue());
}

WrlColor colorOf(double red, double green, double blue) {
  WrlColor color;
  color.setRGB(red, green, blue);
  return color;
}

}  // namespace

void WrlMaterial::reset() {
  // Every entity starts from these: their palette search is done once.
  static const WrlColor kAmbient = colorOf(0.0, 0.0, 0.1);
  static const WrlColor kDiffuse = colorOf(0.3, 0.3, 0.3);
  static const WrlColor kBlack = colorOf(0.0, 0.0, 0.0);
  m_useAcadColor = 1;
  m_valid = 0;
  m_ambient = kAmbient;
  m_diffuse = kDiffuse;
  m_specular = kBlack;
  m_emissive = kBlack;
  m_shininess = 0.2;
  m_transparency = 0.0;
}

int WrlMaterial::setDiffuseColor(const WrlColor& color) {
  m_diffuse = color;
  m_valid = 1;
  return 1;
}

int WrlMaterial::setUnitValue(double& field, double value) {
  if (!(value >= 0.0 && value <= 1.0)) {
    m_valid = 0;
    return 0;
  }
  field = value;
  m_valid = 1;
  return 1;
}

int WrlMaterial::setShininess(double value) { return setUnitValue(m_shininess, value); }

int WrlMaterial::setTransparency(double value) { return setUnitValue(m_transparency, value); }

int WrlMaterial::readFromObject(const AcDbObject* object) {
  if (!object) return 0;
  m_valid = 0;
  wrl_xdata::Reader data(object, kMaterialApp);
  if (data.empty() || !data.take(wrl_xdata::kAppName)) return 0;
  const resbuf* useAcad = data.take(wrl_xdata::kShort);
  if (!useAcad) return 0;
  m_useAcadColor = useAcad->resval.rint != 0 ? 1 : 0;
  // Stored order: ambient, diffuse, emissive, specular.
  for (WrlColor* color : {&m_ambient, &m_diffuse, &m_emissive, &m_specular})
    if (!readColor(data, *color)) return 0;
  const resbuf* shininess = data.take(wrl_xdata::kReal);
  if (!shininess) return 0;
  setShininess(shininess->resval.rreal);
  const resbuf* transparency = data.take(wrl_xdata::kReal);
  if (!transparency) {
    m_valid = 0;  // setShininess may have made it valid
    return 0;
  }
  setTransparency(transparency->resval.rreal);
  m_valid = 1;
  return 1;
}

int WrlMaterial::writeToObject(AcDbObject* object) const {
  if (!object) return 0;
  if (m_valid != 1) return 1;
  wrl_xdata::Builder list(kMaterialApp);
  list.addShort(wrl_xdata::kShort, m_useAcadColor);
  for (const WrlColor* color : {&m_ambient, &m_diffuse, &m_emissive, &m_specular}) addColor(list, *color);
  list.addReal(wrl_xdata::kReal, m_shininess);
  list.addReal(wrl_xdata::kReal, m_transparency);
  return list.attachTo(object);
}
