// The host connects the folders below it to the services they call upwards:
// the command line for the screens, the framework and the facetter; the
// screens for the framework's dialogs; message pumping for the facetter.
// Connected by a static initialiser, so every program that loads libacad.so
// (the host, the tests, the fuzz targets) runs with the same connections.
#include "acad/console.h"
#include "acad/user_path.h"
#include "render/message_pump.h"
#include "support/command_line.h"
#include "ui/presentation.h"
#include "win/presentation.h"

namespace {

struct ConsoleLine final : support::CommandLine {
  void write(const std::string& text) override { acad::console::write(text); }
  bool readLine(const std::string& prompt, std::string& answer) override {
    return acad::console::readLine(prompt, answer);
  }
  bool peekLine(std::string& line) override { return acad::console::peekLine(line); }
  bool interactive() override { return acad::console::interactive(); }
  const std::string& fileToCreate() override { return acad::files::fileToCreate(); }
};

struct Connections {
  Connections() {
    static ConsoleLine console;
    support::commandLine.connect(console);
    win::presentation.connect(ui::chosenPresentation());
    render::connectMessagePump(ui::pumpMessages);
  }
} g_connections;

}  // namespace
