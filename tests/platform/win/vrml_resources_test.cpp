// The compiled resource script against the catalogue and the templates it
// must hold.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "afxres.h"
#include "rcdata.h"
#include "support/message_catalogue.h"

extern const RcModuleResources testVrmlResources;

namespace {

const auto& kCatalogue = kMessageCatalogue;

const RcDialog* dialog(int id) {
  for (size_t i = 0; i < testVrmlResources.dialogCount; ++i)
    if (testVrmlResources.dialogs[i].id == id) return &testVrmlResources.dialogs[i];
  return nullptr;
}

struct Expected {
  int id;
  const char* windowClass;
  const char* text;
  int x, y, cx, cy;
  uint32_t style;
};

void expectControls(int dialogId, const std::vector<Expected>& expected) {
  const RcDialog* d = dialog(dialogId);
  ASSERT_NE(d, nullptr) << dialogId;
  ASSERT_EQ(d->controlCount, expected.size()) << dialogId;
  for (size_t i = 0; i < expected.size(); ++i) {
    const RcControl& c = d->controls[i];
    const Expected& e = expected[i];
    SCOPED_TRACE("dialog " + std::to_string(dialogId) + " control #" + std::to_string(i));
    EXPECT_EQ(c.id, e.id);
    EXPECT_STREQ(c.windowClass, e.windowClass);
    EXPECT_STREQ(c.text, e.text);
    EXPECT_EQ(c.x, e.x);
    EXPECT_EQ(c.y, e.y);
    EXPECT_EQ(c.cx, e.cx);
    EXPECT_EQ(c.cy, e.cy);
    EXPECT_EQ(c.style, e.style | WS_CHILD | WS_VISIBLE);
  }
}

const uint32_t kModalStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;

// The dialog's own line of the template: caption, font, size and style.
const RcDialog* expectDialog(int id, const char* caption, int cx, int cy, uint32_t style) {
  const RcDialog* d = dialog(id);
  EXPECT_NE(d, nullptr) << id;
  if (!d) return nullptr;
  EXPECT_STREQ(d->caption, caption);
  EXPECT_STREQ(d->fontName, "MS Sans Serif");
  EXPECT_EQ(d->fontSize, 8);
  EXPECT_EQ(d->x, 0);
  EXPECT_EQ(d->y, 0);
  EXPECT_EQ(d->cx, cx);
  EXPECT_EQ(d->cy, cy);
  EXPECT_EQ(d->style, style);
  return d;
}

}  // namespace

TEST(VrmlResources, StringTableHoldsExactlyTheCatalogue) {
  ASSERT_EQ(testVrmlResources.stringCount, kCatalogue.size());
  for (size_t i = 0; i < testVrmlResources.stringCount; ++i) {
    const RcString& s = testVrmlResources.strings[i];
    auto it = kCatalogue.find(s.id);
    ASSERT_NE(it, kCatalogue.end()) << "unexpected string " << s.id;
    EXPECT_EQ(std::string(s.text), it->second) << "string " << s.id;
    EXPECT_LT(std::strlen(s.text), 300u);
  }
}

TEST(VrmlResources, OptionsDialogTemplate) {
  expectDialog(140, "Meshcast options", 234, 162, kModalStyle);
  const uint32_t radio = BS_AUTORADIOBUTTON;
  expectControls(140, {
                          {1, "BUTTON", "OK", 177, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
                          {2, "BUTTON", "Cancel", 177, 24, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
                          {1052, "BUTTON", "Drawing units", 7, 7, 162, 84, BS_GROUPBOX},
                          {1045, "BUTTON", "&Milimeter", 14, 21, 55, 10, radio | WS_GROUP},
                          {1046, "BUTTON", "&Centimeter", 14, 33, 55, 10, radio},
                          {1047, "BUTTON", "M&eter", 14, 45, 55, 10, radio},
                          {1048, "BUTTON", "&Inch", 14, 57, 55, 10, radio},
                          {1049, "BUTTON", "&Other", 14, 69, 55, 10, radio},
                          {1018, "EDIT", "", 84, 69, 78, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
                          {1050, "BUTTON", "Recalculate points to current &UCS", 13, 105, 139, 10,
                           BS_AUTOCHECKBOX | WS_TABSTOP},
                          {1053, "BUTTON", "UCS Transformation", 7, 93, 162, 28, BS_GROUPBOX},
                          {1054, "BUTTON", "VRML Version", 7, 127, 162, 28, BS_GROUPBOX},
                          {1055, "BUTTON", "VRML 1.0", 13, 138, 48, 10, radio | WS_GROUP},
                          {1056, "BUTTON", "VRML 2.0", 110, 138, 48, 10, radio},
                      });
}

TEST(VrmlResources, ProgressDialogTemplate) {
  expectDialog(139, "Meshcast in progress", 236, 82, kModalStyle | WS_VISIBLE | DS_CENTER);
  expectControls(139, {
                          {2, "BUTTON", "Cancel", 94, 58, 50, 14, WS_TABSTOP},
                          {1041, "msctls_progress32", "Progress1", 28, 36, 179, 14, WS_BORDER},
                          {1042, "STATIC", "%d object(s) converted.", 7, 7, 222, 8, SS_LEFT | WS_GROUP},
                          {1043, "STATIC", "%d object(s) ignored.", 7, 18, 222, 8, SS_LEFT | WS_GROUP},
                      });
}

TEST(VrmlResources, PropertiesDialogTemplate) {
  expectDialog(130, "VRML Properties", 293, 130, kModalStyle);
  const uint32_t edit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  const uint32_t label = SS_LEFT | WS_GROUP;
  expectControls(130, {
                          {1017, "BUTTON", "Material Properties", 4, 60, 224, 64, BS_GROUPBOX},
                          {1, "BUTTON", "OK", 236, 8, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
                          {2, "BUTTON", "Cancel", 236, 24, 50, 14, WS_TABSTOP},
                          {1014, "msctls_trackbar32", "Slider1", 120, 88, 100, 12, TBS_AUTOTICKS | WS_TABSTOP},
                          {1015, "msctls_trackbar32", "Slider2", 120, 104, 100, 12, TBS_AUTOTICKS | WS_TABSTOP},
                          {1016, "BUTTON", "URL Properties", 4, 4, 224, 52, BS_GROUPBOX},
                          {1018, "EDIT", "", 64, 16, 156, 12, edit},
                          {1019, "STATIC", "URL Link:", 12, 20, 48, 8, label},
                          {1020, "EDIT", "", 64, 36, 156, 12, edit},
                          {1021, "STATIC", "Description:", 12, 40, 44, 8, label},
                          {1022, "STATIC", "Shininess:", 12, 92, 80, 8, label},
                          {1023, "STATIC", "Transparency:", 12, 108, 80, 8, label},
                          {1038, "BUTTON", "Use AutoCAD Color", 12, 76, 192, 8, BS_AUTOCHECKBOX | WS_TABSTOP},
                      });
}

TEST(VrmlResources, AboutBoxTemplateIconAndVersion) {
  const RcDialog* d = expectDialog(129, "Meshcast", 273, 134, kModalStyle);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->controlCount, 4u);
  std::string info = d->controls[0].text;
  std::vector<std::string> lines;
  for (size_t start = 0, end;; start = end + 1) {
    end = info.find('\n', start);
    lines.push_back(info.substr(start, end - start));
    if (end == std::string::npos) break;
  }
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "Meshcast/AutoCAD for AutoCAD Release 14.");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "Build date: 22/09/98");
  EXPECT_EQ(lines[9], "Version: 2.0.1.8264");
  EXPECT_EQ(d->controls[0].id, -1);
  EXPECT_EQ(d->controls[1].id, IDOK);
  EXPECT_EQ(d->controls[1].style, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP);
  EXPECT_STREQ(d->controls[2].text, "Information");
  EXPECT_EQ(d->controls[3].style & SS_TYPEMASK, static_cast<uint32_t>(SS_ICON));
  EXPECT_STREQ(d->controls[3].text, "#135");

  ASSERT_EQ(testVrmlResources.iconCount, 1u);
  const RcIcon& icon = testVrmlResources.icons[0];
  EXPECT_EQ(icon.id, 135);
  ASSERT_GE(icon.size, 22u);
  EXPECT_EQ(icon.data[4] | icon.data[5] << 8, 1);    // one image
  EXPECT_EQ(icon.data[6], 32);                       // 32 wide
  EXPECT_EQ(icon.data[7], 32);                       // 32 high
  EXPECT_EQ(icon.data[8], 16);                       // 16 colours
  EXPECT_EQ(icon.data[12] | icon.data[13] << 8, 4);  // 4 bits a pixel

  ASSERT_NE(testVrmlResources.version, nullptr);
  const RcVersion& v = *testVrmlResources.version;
  EXPECT_EQ(std::vector<int>(v.fileVersion, v.fileVersion + 4), (std::vector<int>{2, 0, 1, 8264}));
  EXPECT_EQ(std::vector<int>(v.productVersion, v.productVersion + 4), (std::vector<int>{2, 0, 0, 0}));
}
