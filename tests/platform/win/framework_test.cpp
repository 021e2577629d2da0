// Resources by module handle, the string loader, the application object
// and CString on the host allocator.
#include <gtest/gtest.h>

#include <string>

#include "acadmem.h"
#include "afxwin.h"
#include "heap_faults.h"

extern const RcModuleResources testVrmlResources;

namespace {

HINSTANCE handle(uintptr_t n) { return reinterpret_cast<HINSTANCE>(n); }

class RecordingApp : public CWinApp {
 public:
  explicit RecordingApp(BOOL startResult = TRUE) : m_startResult(startResult) {}
  BOOL InitInstance() override {
    ++started;
    stringDuringStart = AfxFindStringResource(m_hInstance, 38) ? AfxFindStringResource(m_hInstance, 38) : "";
    return m_startResult;
  }
  int ExitInstance() override {
    ++stopped;
    return 0;
  }
  int started = 0, stopped = 0;
  std::string stringDuringStart;

 private:
  BOOL m_startResult;
};

}  // namespace

TEST(Framework, AttachRunsInitInstanceAndMakesStringsLoadable) {
  RecordingApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  ASSERT_TRUE(AfxAttachModule(handle(0x1000), &testVrmlResources));
  EXPECT_EQ(app.started, 1);
  EXPECT_EQ(app.stringDuringStart, "Meshcast in progress");
  EXPECT_EQ(app.m_hInstance, handle(0x1000));
  EXPECT_EQ(AfxGetResourceHandle(), handle(0x1000));

  char buffer[300];
  EXPECT_EQ(LoadStringA(handle(0x1000), 21, buffer, sizeof buffer), 61);
  EXPECT_STREQ(buffer, "\nMeshcast/AutoCAD loaded.\nUse VRMLHELP for list of commands.\n");
  // A short buffer takes what fits, always terminated.
  EXPECT_EQ(LoadStringA(handle(0x1000), 15, buffer, 7), 6);
  EXPECT_STREQ(buffer, "Create");
  // Missing numbers, zero, and strings of a module never attached.
  EXPECT_EQ(LoadStringA(handle(0x1000), 35, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadStringA(handle(0x1000), 0, buffer, sizeof buffer), 0);
  EXPECT_EQ(LoadStringA(handle(0x1000), 0x10001, buffer, sizeof buffer), 0);
  EXPECT_EQ(LoadStringA(handle(0x2000), 21, buffer, sizeof buffer), 0);
  EXPECT_EQ(LoadStringA(handle(0x1000), 21, nullptr, 10), 0);
  EXPECT_EQ(LoadStringA(handle(0x1000), 21, buffer, 0), 0);

  // A second attach of the same handle is refused and starts nothing.
  EXPECT_FALSE(AfxAttachModule(handle(0x1000), &testVrmlResources));
  EXPECT_EQ(app.started, 1);

  AfxDetachModule(handle(0x1000));
  EXPECT_EQ(app.stopped, 1);
  EXPECT_EQ(AfxGetResourceHandle(), nullptr);
  EXPECT_EQ(LoadStringA(handle(0x1000), 21, buffer, sizeof buffer), 0);
  AfxDetachModule(handle(0x1000));  // twice is harmless
  EXPECT_EQ(app.stopped, 1);
}

TEST(Framework, FailedStartLeavesNothingRegistered) {
  RecordingApp app(FALSE);
  EXPECT_FALSE(AfxAttachModule(handle(0x3000), &testVrmlResources));
  EXPECT_EQ(app.started, 1);
  EXPECT_EQ(AfxGetResourceHandle(), nullptr);
  EXPECT_EQ(AfxFindDialogTemplate(handle(0x3000), 140), nullptr);
  EXPECT_FALSE(AfxAttachModule(nullptr, &testVrmlResources));
  EXPECT_FALSE(AfxAttachModule(handle(0x3000), nullptr));
}

TEST(Framework, ApplicationObjectGoneBeforeDetach) {
  auto* app = new RecordingApp;
  ASSERT_TRUE(AfxAttachModule(handle(0x4000), &testVrmlResources));
  delete app;
  EXPECT_EQ(AfxGetApp(), nullptr);
  AfxDetachModule(handle(0x4000));  // must not call into the deleted object
  EXPECT_EQ(AfxGetResourceHandle(), nullptr);
}

TEST(CStringTest, OwnsCopiesFormatsAndReturnsItsBlocks) {
  size_t before = acad::heap::stats().liveBlocks;
  {
    CString a("abc");
    CString b = a;
    b += "def";
    EXPECT_STREQ(a, "abc");
    EXPECT_STREQ(b, "abcdef");
    EXPECT_EQ(b.GetLength(), 6);
    EXPECT_EQ(b.GetAt(3), 'd');
    EXPECT_EQ(b.GetAt(6), '\0');
    EXPECT_EQ(b.GetAt(-1), '\0');
    CString c;
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_STREQ(c, "");
    c.Format("%d object(s) converted.", 12);
    EXPECT_STREQ(c, "12 object(s) converted.");
    c = b;
    c = static_cast<const char*>(nullptr);
    EXPECT_TRUE(c.IsEmpty());
    CString moved(std::move(b));
    EXPECT_STREQ(moved, "abcdef");
    char* buffer = moved.GetBuffer(20);
    ASSERT_NE(buffer, nullptr);
    std::snprintf(buffer, 21, "%s", "0123456789");
    moved.ReleaseBuffer();
    EXPECT_EQ(moved.GetLength(), 10);
    EXPECT_TRUE(moved == "0123456789");
    EXPECT_GT(acad::heap::stats().liveBlocks, before);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(CStringTest, FormatsLongTextsShortTextsAndItsOwnText) {
  size_t before = acad::heap::stats().liveBlocks;
  {
    CString s;
    std::string wide(1000, 'w');
    s.Format("<%s>", wide.c_str());
    EXPECT_EQ(std::string(s), "<" + wide + ">");
    EXPECT_EQ(s.GetLength(), 1002);
    // A shorter text goes into the buffer it has, its own old text read first.
    s.Format("%.3s|%d", static_cast<const char*>(s), 7);
    EXPECT_STREQ(s, "<ww|7");
    EXPECT_EQ(s.GetLength(), 5);
    s.Format("%s%s", static_cast<const char*>(s), static_cast<const char*>(s));
    EXPECT_STREQ(s, "<ww|7<ww|7");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(CStringTest, OutOfMemoryKeepsTheOldText) {
  CString a("kept");
  acad::heap::failAfter(1);
  a = "replacement";
  acad::heap::failAfter(0);
  acad::heap::takeFiredFailure();
  EXPECT_STREQ(a, "kept");
}

TEST(CStringTest, LoadsFromTheResourceModule) {
  ASSERT_TRUE(AfxAttachModule(handle(0x5000), &testVrmlResources));
  CString s;
  EXPECT_TRUE(s.LoadString(50));
  EXPECT_STREQ(s, "Meshcast options");
  EXPECT_FALSE(s.LoadString(99));
  EXPECT_STREQ(s, "Meshcast options");
  AfxDetachModule(handle(0x5000));
}
