// The libFuzzer driver; each target is this file built with its name. A
// broken promise is reported and aborts, so libFuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "entries/fuzz_entries.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The facetter writes its face files there.
  setenv("TMPDIR", fuzz_entry::scratchDirectory().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz_entry::Entry entry = fuzz_entry::entryNamed(VRML_FUZZ_TARGET);
  fuzz_entry::Result result = entry(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.kind == fuzz_entry::Result::Broken) {
    std::fprintf(stderr, "%s: %s\n", VRML_FUZZ_TARGET, result.detail.c_str());
    std::abort();
  }
  return 0;
}
