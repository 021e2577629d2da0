#include "html_page.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "model_framing.h"
#include "web_text.h"

namespace {

std::string number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", value);
  return buffer;
}

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  for (double value : values) text += (text.empty() ? "[" : ", ") + number(value);
  return text + "]";
}

// What the page's script needs to set its camera, lights and sky.
std::string framingJson(const WorldBounds& bounds) {
  ModelFraming f = frameModel(bounds);
  const double *sky = kFramingSky, *light = kFramingLight;
  return "{\"translation\": " + numbers({f.translation[0], f.translation[1], f.translation[2]}) +
         ", \"scale\": " + number(f.scale) +
         ", \"position\": " + numbers({f.position[0], f.position[1], f.position[2]}) +
         ", \"orientation\": " + numbers({f.orientation[0], f.orientation[1], f.orientation[2], f.orientation[3]}) +
         ", \"fieldOfView\": " + number(kFramingFieldOfView) + ", \"sky\": " + numbers({sky[0], sky[1], sky[2]}) +
         ", \"light\": " + numbers({light[0], light[1], light[2]}) +
         ", \"lightIntensity\": " + number(kFramingLightIntensity) + "}";
}

}  // namespace

std::string htmlPage(std::string_view skeleton, const std::string& worldText, const WorldBounds& bounds,
                     const PageFacts& facts) {
  std::string drawing = htmlText(facts.drawing);
  const std::pair<std::string_view, std::string> fills[] = {{"@DRAWING@", drawing},
                                                            {"@WORLD@", scriptString(worldText)},
                                                            {"@FRAMING@", framingJson(bounds)},
                                                            {"@DRAWING@", drawing},
                                                            {"@COUNTS@", htmlText(facts.counts)}};
  std::string page;
  page.reserve(skeleton.size() + worldText.size() * 11 / 10 + 1024);
  // Each mark is looked for after the one before, so that nothing filled in
  // and nothing in the viewer's text is taken for a mark.
  size_t from = 0;
  for (const auto& [mark, text] : fills) {
    size_t at = skeleton.find(mark, from);
    if (at == std::string_view::npos) return "";
    page.append(skeleton.substr(from, at - from)).append(text);
    from = at + mark.size();
  }
  return page.append(skeleton.substr(from));
}

bool writeHtmlPage(std::string_view skeleton, const std::string& world, const std::string& page, const PageFacts& facts,
                   std::string& error) {
  if (skeleton.empty()) {
    error =
        "this vrmlout was built without the web viewer (tools/install-deps.sh installs it; then configure and build "
        "again)";
    return false;
  }
  std::ifstream in(world, std::ios::binary);
  if (!in) {
    error = "cannot read " + world;
    return false;
  }
  std::string worldText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string text = htmlPage(skeleton, worldText, worldBounds(worldText), facts);
  if (text.empty()) {
    error = "the page skeleton built into vrmlout lacks a mark";
    return false;
  }
  std::ofstream out(page, std::ios::binary | std::ios::trunc);
  if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
    error = "cannot write " + page + ": " + std::strerror(errno);
    return false;
  }
  return true;
}
