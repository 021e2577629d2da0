// What each fuzz target does with one input, shared by the libFuzzer drivers
// and the regression test that replays the inputs they found.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace fuzz_entry {

struct Result {
  enum Kind {
    Accepted,  // read (and, where the target goes on, saved or faceted) cleanly
    Refused,   // turned down with the message in `detail`
    Broken,    // a promise was broken; `detail` says which
  };
  Kind kind = Accepted;
  std::string detail;
};

// A DXF file in text form: read it, and when it reads, save it, read the
// saved file back and save that again; both saves must give the same bytes.
Result dxfText(std::string_view bytes);
// The same for a binary DXF file: `bytes` is what follows the sentinel.
Result dxfBinary(std::string_view bytes);
// AutoLISP: the text up to the first NUL byte is evaluated with a drawing
// open; the bytes after it answer the prompts the evaluation asks.
Result lisp(std::string_view bytes);
// The facetter: the bytes are decoded into a small drawing (see
// facet_drawing.h) and every entity is faceted on its own, as an export does.
Result facet(std::string_view bytes);
// The solid modeller's reader: SAB bytes when they start with its
// signature, SAT text otherwise; what it reads must keep the model's
// promises (indices in range, spline data that fits, finite numbers).
Result acis(std::string_view bytes);

// The targets by name ("dxf_text", "dxf_binary", "lisp", "facet", "acis"); null
// for a name that is not one of them.
using Entry = Result (*)(std::string_view bytes);
Entry entryNamed(std::string_view target);
const std::vector<std::string_view>& targetNames();

// Closes the current drawing, so that an input frees
// what it allocated: libFuzzer runs an input that allocated more than it
// freed a second time, and then looks for leaks.
void releaseDrawing();

// A private directory for the files the targets write (the saved drawing,
// the facetter's face files), removed at exit.
const std::string& scratchDirectory();

}  // namespace fuzz_entry
