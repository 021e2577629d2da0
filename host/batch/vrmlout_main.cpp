// vrmlout: exports a drawing to a VRML world file without a person, by
// running VRMLOUT in the host with its prompts and dialog answered.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "batch_options.h"
#include "batch_script.h"
#include "host_run.h"
#include "preview.h"

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

bool saysFailure(const std::string& transcript) {
  return transcript.find("Error while creating VRML file.") != std::string::npos ||
         transcript.find("Cannot create output file.") != std::string::npos;
}

std::string writeScript(const std::string& text) {
  char name[] = "/tmp/vrmlout-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return "";
  bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written) {
    unlink(name);
    return "";
  }
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  BatchOptions options;
  std::string error;
  if (!parseBatchOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "vrmlout: %s\n%s", error.c_str(), kBatchUsage);
    return 2;
  }
  options.output = withWorldExtension(options.output);
  if (!exists(options.drawing)) {
    std::fprintf(stderr, "vrmlout: %s: no such drawing\n", options.drawing.c_str());
    return 2;
  }
  std::string script = writeScript(vrmloutScript(options, exists(options.output)));
  if (script.empty()) {
    std::fprintf(stderr, "vrmlout: cannot write a temporary script\n");
    return 1;
  }
  std::string folder = programFolder();
  bool showProgress = isatty(STDERR_FILENO);
  // A large drawing takes hundreds of megabytes of heap: on huge pages the
  // kernel faults it in once per 2 MB instead of once per 4 kB page. A
  // setting of the user's own stands.
  setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 0);
  // A verbose run also hears which solids lost faces in the facetter.
  if (options.verbose) setenv("ARXHOST_FACET_NOTES", "1", 1);
  HostRun run = runHost(folder + "/arxhost",
                        {options.drawing, "--load", folder + "/vrml.arx", "--script", script, "--batch"},
                        [&](const std::string& piece) {
                          if (options.verbose) std::fwrite(piece.data(), 1, piece.size(), stdout);
                          if (showProgress && piece.find("object(s) converted.") != std::string::npos)
                            std::fprintf(stderr, "\r%s object(s) converted", lastCount(piece, "converted").c_str());
                        });
  unlink(script.c_str());
  if (showProgress) std::fputc('\n', stderr);

  if (run.exitStatus != 0 || saysFailure(run.transcript) || !exists(options.output)) {
    if (!options.verbose) std::fwrite(run.transcript.data(), 1, run.transcript.size(), stderr);
    std::fprintf(stderr, "\nvrmlout: the export of %s failed\n", options.drawing.c_str());
    return 1;
  }
  std::printf("%s: %s object(s) converted, %s object(s) ignored\n", options.output.c_str(),
              lastCount(run.transcript, "converted").c_str(), lastCount(run.transcript, "ignored").c_str());
  if (!options.preview.empty()) {
    if (!renderPreview(options.output, options.preview, error)) {
      std::fprintf(stderr, "vrmlout: no preview: %s\n", error.c_str());
      return 3;
    }
    std::printf("%s: preview\n", options.preview.c_str());
  }
  return 0;
}
