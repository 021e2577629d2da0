// The material of one exported object, stored on it as extended data.
#pragma once
#include <cstdint>

#include "wrl_color.h"

class AcDbObject;

class WrlMaterial {
 public:
  WrlMaterial() { reset(); }
  // Every field back to its default; no material held.
  void reset();

  // Copies the whole colour and makes the material valid.
  int setDiffuseColor(const WrlColor& color);
  // In 0..1: stored and the material valid. Otherwise (NaN too) 0, the old
  // value kept and the material no longer valid.
  int setShininess(double value);
  int setTransparency(double value);
  void setUseAcadColor(int on) { m_useAcadColor = on ? 1 : 0; }

  int useAcadColor() const { return m_useAcadColor; }
  int valid() const { return m_valid; }
  const WrlColor& ambientColor() const { return m_ambient; }
  const WrlColor& diffuseColor() const { return m_diffuse; }
  const WrlColor& specularColor() const { return m_specular; }
  const WrlColor& emissiveColor() const { return m_emissive; }
  double shininess() const { return m_shininess; }
  double transparency() const { return m_transparency; }

  // 1 when the whole 16-item list was read. A malformed list stops the
  // walk: what was taken before stays, and the material is not valid.
  int readFromObject(const AcDbObject* object);
  // 1 when stored, and when there is nothing to store (not valid).
  int writeToObject(AcDbObject* object) const;

 private:
  int setUnitValue(double& field, double value);

  int32_t m_useAcadColor;
  int32_t m_valid;
  WrlColor m_ambient;
  WrlColor m_diffuse;
  WrlColor m_specular;
  WrlColor m_emissive;
  double m_shininess;
  double m_transparency;
};
