// The showcase exported, one of its objects given new properties, and the
// module's AutoLISP functions called, with each host allocation failing in
// turn: never a crash or a leak, and every run ends in a world file a VRML
// reader takes or in a failure the user is told about; each stored property
// is old or new, and one that kept its old data was reported.
#include <gmock/gmock.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "acadmem.h"
#include "adslib.h"
#include "dbmain.h"
#include "heap_faults.h"
#include "hostile_drawing.h"
#include "in_process_host.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string showcase() { return std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf"; }

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Objects of the drawing that cannot be opened for write: one left open by
// a command that broke off.
long objectsLeftOpen() {
  ads_name ss, name;
  long length = 0, open = 0;
  if (ads_ssget("X", nullptr, nullptr, nullptr, ss) != RTNORM) return -1;
  ads_sslength(ss, &length);
  for (long i = 0; i < length; ++i) {
    AcDbObjectId id;
    AcDbObject* object = nullptr;
    if (ads_ssname(ss, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk &&
        acdbOpenAcDbObject(object, id, AcDb::kForWrite) == Acad::eOk)
      object->close();
    else ++open;
  }
  ads_ssfree(ss);
  return open;
}

// What one run of a command did to the host heap.
struct CommandRun {
  std::string transcript;
  bool fired = false;        // the armed failure was reached
  uint64_t allocations = 0;  // successful host allocations
  long leakedBlocks = 0;     // live blocks left over
  long leftOpen = 0;         // objects still open after the command
  std::string trace;         // which allocation failed, and the transcript
};

class AllocationSweep : public ::testing::Test {
 protected:
  void SetUp() override {
    host.emplace(drawing, scratch.file("registry.txt"));
    ASSERT_TRUE(host->ready()) << host->error();
  }

  // What a run does: a command with its answers, or an AutoLISP expression;
  // it answers the transcript.
  using Action = std::function<std::string()>;
  Action command(const std::string& name, const std::string& answers) {
    return [this, name, answers] { return host->run(name, answers); };
  }
  Action expression(const std::string& text) {
    return [this, text] { return host->evaluate(text); };
  }

  // Runs `action` with the `n`-th host allocation failing (0: none fails).
  CommandRun runFailing(uint64_t n, const Action& action) {
    CommandRun run;
    if (prepare) prepare();
    acad::heap::Stats before = acad::heap::stats();
    acad::heap::failAfter(n);
    run.transcript = action();
    run.fired = acad::heap::takeFiredFailure();
    acad::heap::failAfter(0);
    acad::heap::Stats after = acad::heap::stats();
    run.allocations = after.allocations - before.allocations;
    run.leakedBlocks = static_cast<long>(after.liveBlocks) - static_cast<long>(before.liveBlocks);
    run.leftOpen = objectsLeftOpen();
    return run;
  }

  // The count of host allocations of one clean run, taken after a first run
  // that lets the framework's first-use state settle.
  uint64_t countAllocations(const Action& action) {
    runFailing(0, action);
    CommandRun clean = runFailing(0, action);
    EXPECT_EQ(clean.leakedBlocks, 0) << clean.transcript;
    return clean.allocations;
  }

  // One step of a sweep: the run with allocation `n` of `total` failing, and
  // what every run must pass (the failure reached, no block, no opening left).
  CommandRun sweepStep(uint64_t n, uint64_t total, const Action& action) {
    CommandRun run = runFailing(n, action);
    run.trace = "allocation " + std::to_string(n) + " of " + std::to_string(total) + "\n" + run.transcript;
    EXPECT_TRUE(run.fired) << run.trace;
    EXPECT_EQ(run.leakedBlocks, 0) << run.trace;
    EXPECT_EQ(run.leftOpen, 0) << run.trace;
    return run;
  }

  // Exports the whole drawing with each allocation failing in turn; every
  // run ends in the whole world file or in a message, and a world file that
  // is there parses. `name` labels the counts printed.
  void sweepExport(const char* name);

  std::function<void()> prepare;  // puts the drawing and files back before each run
  ScratchDir scratch;
  std::string drawing = showcase();  // set before SetUp to sweep another
  std::optional<InProcessHost> host;
};

// The checker's verdict on a world file, once per distinct content.
class WorldChecker {
 public:
  const std::string& verdict(const std::string& path) {
    std::string content = readFile(path);
    auto known = m_verdicts.find(content);
    if (known != m_verdicts.end()) return known->second;
    ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' '" + path + "' 2>&1");
    return m_verdicts[content] = check.status == 0 ? check.output : "does not parse:\n" + check.output;
  }
  size_t distinct() const { return m_verdicts.size(); }

 private:
  std::map<std::string, std::string> m_verdicts;
};

void AllocationSweep::sweepExport(const char* name) {
  const std::string world = scratch.file("export.wrl");
  const std::string answers = "ALL\n\n" + world + "\nclick VRML 2.0\nok\n";
  prepare = [&world] { std::remove(world.c_str()); };
  const Action exportAll = command("VRMLOUT", answers);
  const uint64_t total = countAllocations(exportAll);
  ASSERT_GT(total, 0u);
  WorldChecker checker;
  const std::string cleanWorld = readFile(world);
  const std::string cleanVerdict = checker.verdict(world);
  ASSERT_TRUE(holds(cleanVerdict, "badindex 0\n") && !holds(cleanVerdict, "shapes 0\n")) << cleanVerdict;

  size_t reported = 0, complete = 0;
  for (uint64_t n = 1; n <= total; ++n) {
    CommandRun run = sweepStep(n, total, exportAll);
    SCOPED_TRACE(run.trace);
    bool told = holds(run.transcript, "\nError while creating VRML file.") ||
                holds(run.transcript, "\nCannot create output file.") || holds(run.transcript, "Out of memory.");
    bool written = std::filesystem::exists(world);
    if (written) {
      const std::string& verdict = checker.verdict(world);
      EXPECT_TRUE(holds(verdict, "badindex 0\n")) << verdict;
      if (!told) {
        // Without a message the file is the whole export, byte for byte.
        EXPECT_TRUE(readFile(world) == cleanWorld) << verdict;
        ++complete;
      }
    } else {
      EXPECT_TRUE(told) << "no world file and nothing said";
    }
    reported += told;
  }
  std::printf(
      "VRMLOUT of %s: %llu allocations failed in turn; %zu reported, %zu complete worlds, %zu distinct files checked\n",
      name, static_cast<unsigned long long>(total), reported, complete, checker.distinct());
  // Past the last allocation nothing fails.
  CommandRun beyond = runFailing(total + 1, exportAll);
  EXPECT_FALSE(beyond.fired);
  prepare = nullptr;
}

TEST_F(AllocationSweep, ExportOfTheShowcaseWithEachAllocationFailing) { sweepExport("the showcase"); }

// A mesh of 6400 vertices reaches the capture in two batches, so appending
// the second batch's points and faces is among the allocations that fail.
class LargeMeshSweep : public AllocationSweep {
 protected:
  LargeMeshSweep() {
    std::string vertices;
    for (int row = 0; row < 80; ++row)
      for (int column = 0; column < 80; ++column) vertices += hostile::vertex(column, row, 64);
    drawing = scratch.file("mesh.dxf");
    writeFile(drawing, hostile::drawing("", hostile::polyline(16, hostile::tag(71, "80") + hostile::tag(72, "80")) +
                                                vertices + hostile::seqend()));
  }
};

TEST_F(LargeMeshSweep, ExportOfAMeshInSeveralBatchesWithEachAllocationFailing) { sweepExport("a 6400-vertex mesh"); }

// The showcase's first object that carries a link (with a material beside).
AcDbObjectId firstLinkedObject() {
  ads_name ss, name;
  long length = 0;
  AcDbObjectId found;
  if (ads_ssget("X", nullptr, nullptr, nullptr, ss) != RTNORM) return found;
  ads_sslength(ss, &length);
  for (long i = 0; i < length && found.isNull(); ++i) {
    AcDbObjectId id;
    AcDbObject* object = nullptr;
    if (ads_ssname(ss, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk ||
        acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk)
      continue;
    resbuf* link = object->xData("PE_URL");
    object->close();
    if (link) found = id;
    ads_relrb(link);
  }
  ads_ssfree(ss);
  return found;
}

std::string handleOf(AcDbObjectId id) {
  char handle[24];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(id.handle()));
  return handle;
}

// The object's data of one application, or of all for null.
resbuf* xDataOf(AcDbObjectId id, const char* app = nullptr) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return nullptr;
  resbuf* list = object->xData(app);
  object->close();
  return list;
}

// The items of one application of the object, one a line.
std::string storedProperties(AcDbObjectId id, const char* app) {
  resbuf* list = xDataOf(id, app);
  std::string text;
  for (const resbuf* item = list; item; item = item->rbnext) {
    text += std::to_string(item->restype) + " ";
    switch (ads_reskind(item->restype)) {
      case ResKind::String: text += item->resval.rstring; break;
      case ResKind::Real: text += std::to_string(item->resval.rreal); break;
      case ResKind::Short: text += std::to_string(item->resval.rint); break;
      default: text += "?"; break;
    }
    text += "\n";
  }
  ads_relrb(list);
  return text;
}

void restoreProperties(AcDbObjectId id, const resbuf* original) {
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(object->setXData(original), Acad::eOk);
  object->close();
}

// The link, its description and the material are attached one by one: each
// application holds its old or its new data, a refused link does not cost
// the material, and whatever kept its old data was reported.
TEST_F(AllocationSweep, PropertiesOfAnObjectWithEachAllocationFailing) {
  const AcDbObjectId linked = firstLinkedObject();
  ASSERT_FALSE(linked.isNull());
  const std::string answers = handleOf(linked) +
                              "\ntype 1018 https://example.org/new.html\ntype 1020 Another box\ncheck 1038 on\n"
                              "slide 1014 40\nok\n";
  const char* const apps[] = {"PE_URL", "VRML_Url_Data", "VRML_Application"};
  std::map<std::string, std::string> old, edited;
  for (const char* app : apps) old[app] = storedProperties(linked, app);
  resbuf* original = xDataOf(linked);
  prepare = [linked, original] { restoreProperties(linked, original); };
  const Action editProperties = command("VRMLPROP", answers);
  const uint64_t total = countAllocations(editProperties);
  for (const char* app : apps) {
    edited[app] = storedProperties(linked, app);
    ASSERT_NE(edited[app], old[app]) << app;
  }
  ASSERT_TRUE(holds(edited["PE_URL"], "1000 https://example.org/new.html\n")) << edited["PE_URL"];

  size_t oldKept = 0, linkRefusedMaterialStored = 0;
  for (uint64_t n = 1; n <= total; ++n) {
    CommandRun run = sweepStep(n, total, editProperties);
    SCOPED_TRACE(run.trace);
    std::map<std::string, bool> isNew;
    for (const char* app : apps) {
      std::string now = storedProperties(linked, app);
      EXPECT_TRUE(now == old[app] || now == edited[app]) << app << "\n" << now;
      isNew[app] = now == edited[app];
    }
    const bool linkTold = holds(run.transcript, "\nError while attaching url data to selected object.");
    const bool materialTold = holds(run.transcript, "\nError while attaching material data to selected object.");
    const bool ended = holds(run.transcript, "Out of memory.") ||
                       holds(run.transcript, "Cannot open object for writing.");
    EXPECT_FALSE(isNew["VRML_Url_Data"] && !isNew["PE_URL"]) << "a description follows only a stored link";
    EXPECT_TRUE((isNew["PE_URL"] && isNew["VRML_Url_Data"]) || linkTold || ended) << "the link was lost without a word";
    EXPECT_TRUE(isNew["VRML_Application"] || materialTold || ended) << "the material was lost without a word";
    EXPECT_FALSE(materialTold && isNew["VRML_Application"]) << "the material's message for a stored material";
    if (linkTold && !materialTold && !ended) {
      EXPECT_TRUE(isNew["VRML_Application"]) << "a refused link cost the material";
      ++linkRefusedMaterialStored;
    }
    oldKept += !isNew["PE_URL"] && !isNew["VRML_Url_Data"] && !isNew["VRML_Application"];
  }
  prepare = nullptr;
  ads_relrb(original);
  EXPECT_GT(linkRefusedMaterialStored, 0u) << "no run refused the link alone";
  std::printf(
      "VRMLPROP: %llu allocations failed in turn; all old data kept %zu times, link refused with the "
      "material stored %zu times\n",
      static_cast<unsigned long long>(total), oldKept, linkRefusedMaterialStored);
}

// The module's AutoLISP functions, called as the command line calls them,
// with each host allocation of the call failing in turn: no crash, nothing
// leaked or left open, and a call that did not give the clean answer says
// why: the module's message and nil, or the host's own error.
TEST_F(AllocationSweep, AutoLispFunctionsWithEachAllocationFailing) {
  const AcDbObjectId linked = firstLinkedObject();
  ASSERT_FALSE(linked.isNull());
  host->evaluate("(setq e (handent \"" + handleOf(linked) + "\"))");
  host->evaluate("(setq ss (ssget \"X\"))");
  const std::string world = scratch.file("lisp.wrl");
  prepare = [&world] { std::remove(world.c_str()); };
  const std::string calls[] = {"(vrml_geturl e)", "(vrml_getmaterial e)", "(vrml_wrlout ss \"" + world + "\")",
                               "(vrml_init)"};
  for (const std::string& call : calls) {
    SCOPED_TRACE(call);
    const Action action = expression(call);
    const uint64_t total = countAllocations(action);
    const std::string clean = runFailing(0, action).transcript;
    const std::string cleanWorld = readFile(world);
    ASSERT_FALSE(holds(clean, "; error:") || holds(clean, "Out of memory.")) << clean;
    size_t moduleTold = 0, hostTold = 0;
    for (uint64_t n = 1; n <= total; ++n) {
      CommandRun run = sweepStep(n, total, action);
      SCOPED_TRACE(run.trace);
      // The clean answer (a dialog label may have stayed empty) comes with
      // the clean world.
      if (run.transcript.ends_with(clean.substr(clean.find_last_of("\n") + 1))) {
        EXPECT_EQ(readFile(world), cleanWorld) << "the same answer for another world";
        continue;
      }
      if (holds(run.transcript, "; error: ")) {
        ++hostTold;
        continue;
      }
      EXPECT_TRUE(holds(run.transcript, "\nOut of memory.") ||
                  holds(run.transcript, "\nError while creating VRML file."))
          << "another answer without a word";
      EXPECT_THAT(run.transcript, testing::EndsWith("nil")) << "the answer is nil";
      ++moduleTold;
    }
    std::printf("%s: %llu allocations failed in turn; the module told %zu times, the host %zu times\n", call.c_str(),
                static_cast<unsigned long long>(total), moduleTold, hostTold);
  }
  prepare = nullptr;
}

}  // namespace
