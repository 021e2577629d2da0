#include "drawing_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "batch_script.h"
#include "drawing_units.h"
#include "export_failure.h"
#include "host_run.h"
#include "html_page.h"
#include "page_skeleton.h"
#include "preview.h"
#include "temp_file.h"

namespace {

bool exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The last count the progress dialog showed for a label such as "converted".
std::string lastCount(const std::string& transcript, const std::string& label) {
  std::string tail = " object(s) " + label + ".";
  size_t at = transcript.rfind(tail);
  if (at == std::string::npos) return "0";
  size_t start = at;
  while (start > 0 && transcript[start - 1] >= '0' && transcript[start - 1] <= '9') --start;
  return transcript.substr(start, at - start);
}

// The units given, else those the drawing declares, else millimetres.
std::string unitsFor(const BatchOptions& options, const std::string& drawing) {
  if (!options.units.empty()) return options.units;
  std::string declared = unitsAnswer(declaredUnits(drawing));
  return declared.empty() ? "mm" : declared;
}

std::string fileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

void fail(const std::string& drawing, const std::string& reason) {
  std::fprintf(stderr, "vrmlout: %s: %s\n", drawing.c_str(), reason.c_str());
}

}  // namespace

int exportDrawing(const BatchOptions& options, const std::string& drawing, const std::string& output,
                  bool showProgress) {
  std::string units = unitsFor(options, drawing);
  std::string problem = unitsProblem(units);
  if (!problem.empty()) {
    fail(drawing, "the drawing's units give no usable scale (" + units + "); choose one with --units");
    return kExportFailed;
  }
  std::string script = writeTempFile(vrmloutScript(options, output, units, exists(output)), ".scr");
  if (script.empty()) {
    fail(drawing, "cannot write a temporary script in /tmp");
    return kExportFailed;
  }
  std::string folder = programFolder();
  HostRun run = runHost(folder + "/arxhost", {drawing, "--load", folder + "/vrml.arx", "--script", script, "--batch"},
                        [&](const std::string& piece) {
                          if (options.verbose) std::fwrite(piece.data(), 1, piece.size(), stdout);
                          if (showProgress && piece.find("object(s) converted.") != std::string::npos)
                            std::fprintf(stderr, "\r%s object(s) converted", lastCount(piece, "converted").c_str());
                        });
  unlink(script.c_str());
  if (showProgress) std::fputc('\n', stderr);

  std::string reason = exportFailure(run.transcript, run.exitStatus, drawing, output, options.selection);
  if (reason.empty() && !exists(output)) reason = "no world file was written to " + output;
  if (!reason.empty()) {
    fail(drawing, reason);
    return kExportFailed;
  }
  std::string counts = lastCount(run.transcript, "converted") + " object(s) converted, " +
                       lastCount(run.transcript, "ignored") + " object(s) ignored";
  std::printf("%s: %s\n", output.c_str(), counts.c_str());
  std::fflush(stdout);
  std::string error;
  if (!options.preview.empty()) {
    if (!renderPreview(output, options.preview, error)) {
      std::fprintf(stderr, "vrmlout: no preview of %s: %s\n", output.c_str(), error.c_str());
      return kPreviewFailed;
    }
    std::printf("%s: preview\n", options.preview.c_str());
  }
  if (!options.html.empty()) {
    if (!writeHtmlPage(pageSkeleton(), output, options.html, {fileName(drawing), counts}, error)) {
      std::fprintf(stderr, "vrmlout: no page of %s: %s\n", output.c_str(), error.c_str());
      return kPreviewFailed;
    }
    std::printf("%s: page\n", options.html.c_str());
  }
  return kExported;
}
