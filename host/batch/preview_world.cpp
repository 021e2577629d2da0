#include "preview_world.h"

#include <cstdio>
#include <initializer_list>

#include "model_framing.h"

namespace {

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  char buffer[32];
  for (double value : values) {
    std::snprintf(buffer, sizeof buffer, "%s%.6g", text.empty() ? "" : " ", value);
    text += buffer;
  }
  return text;
}

// The url of a local file, with the characters a VRML string cannot hold escaped.
std::string quotedUrl(const std::string& path) {
  std::string url = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') url += '\\';
    url += c;
  }
  return url + "\"";
}

}  // namespace

std::string previewWorld(const std::string& world, const WorldBounds& bounds) {
  ModelFraming f = frameModel(bounds);
  const double *sky = kFramingSky, *light = kFramingLight;
  return "#VRML V2.0 utf8\n"
         "NavigationInfo { type [\"EXAMINE\", \"ANY\"] headlight TRUE }\n"
         "Background { skyColor [" +
         numbers({sky[0], sky[1], sky[2]}) +
         "] }\n"
         "Viewpoint { position " +
         numbers({f.position[0], f.position[1], f.position[2]}) + " orientation " +
         numbers({f.orientation[0], f.orientation[1], f.orientation[2], f.orientation[3]}) + " fieldOfView " +
         numbers({kFramingFieldOfView}) +
         " description \"preview\" }\n"
         "DirectionalLight { direction " +
         numbers({light[0], light[1], light[2]}) + " intensity " + numbers({kFramingLightIntensity}) +
         " }\n"
         "Transform {\n"
         "  translation " +
         numbers({f.translation[0], f.translation[1], f.translation[2]}) +
         "\n"
         "  scale " +
         numbers({f.scale, f.scale, f.scale}) +
         "\n"
         "  children [ Inline { url " +
         quotedUrl(world) +
         " } ]\n"
         "}\n";
}
