// Every kind of control drawn into cells, cell for cell, in the module's four
// dialogs: text, underlined access keys, focus and disabled marks.
#include <fstream>
#include <sstream>

#include "platform/win/dialog_fixture.h"
#include "ui/canvas.h"
#include "win/window.h"

namespace {

// The canvas as text: its rows, then the rows of its marks.
std::string shown(const ui::Canvas& canvas) {
  std::string out;
  for (const std::string& row : canvas.text) out += row + "|\n";
  out += "--\n";
  for (const std::string& row : canvas.highlight) out += row + "|\n";
  return out;
}

std::string expected(const std::string& name) {
  std::ifstream file(std::string(VRML_TEST_DATA_DIR) + "/ui/" + name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Draws template `id` after `prepare` has set its controls.
template <typename Prepare>
std::string drawn(int id, Prepare prepare) {
  CDialog dialog;
  EXPECT_TRUE(dialog.Create(id));
  prepare(dialog.m_hWnd);
  std::string text = shown(ui::drawDialog(dialog.m_hWnd));
  dialog.DestroyWindow();
  return text;
}

}  // namespace

TEST_F(DialogTest, EachControlKindIsDrawnInItsCells) {
  script("");
  // Radio buttons, a ticked check box holding the focus (three cells
  // marked), a disabled edit box, group boxes, push buttons.
  std::string options = drawn(140, [](HWND d) {
    SendMessageA(GetDlgItem(d, 1047), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(GetDlgItem(d, 1050), BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextA(GetDlgItem(d, 1018), "2.5");
    EnableWindow(GetDlgItem(d, 1018), FALSE);
    SetFocus(GetDlgItem(d, 1050));
  });
  EXPECT_EQ(options, expected("options.canvas")) << options;
  // Labels beside their boxes, trackbars, a focused edit box.
  std::string properties = drawn(130, [](HWND d) {
    SetWindowTextA(GetDlgItem(d, 1018), "room2.wrl");
    SendMessageA(GetDlgItem(d, 1014), TBM_SETRANGEMAX, FALSE, 100);
    SendMessageA(GetDlgItem(d, 1014), TBM_SETPOS, TRUE, 30);
    SetFocus(GetDlgItem(d, 1018));
  });
  EXPECT_EQ(properties, expected("properties.canvas")) << properties;
  // A progress bar part way, with its count.
  std::string progress = drawn(139, [](HWND d) {
    SendMessageA(GetDlgItem(d, 1041), PBM_SETRANGE, 0, MAKELPARAM(0, 40));
    SendMessageA(GetDlgItem(d, 1041), PBM_SETPOS, 25, 0);
  });
  EXPECT_EQ(progress, expected("progress.canvas")) << progress;
  // Wrapped multi-line text and an icon too narrow to draw.
  std::string about = drawn(129, [](HWND) {});
  EXPECT_EQ(about, expected("about.canvas")) << about;
}
