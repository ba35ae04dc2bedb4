// EdtVuFixture.h: an editor view without X for the view's tests. The world
// is a recording fake (clock, timers, focus, caret, GC releases) whose text
// measure gives every byte 8 pixels, so a GBK pair is 16 wide and a blank
// 8; the host is a view with a fixed view rectangle and a counted GC.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "framework/AfcKernel.h"

namespace edtvutest {

constexpr int kByteWidth = 8;

struct FakeWorld : IEdtVuWorld {
  uint32_t now = 1000000;
  int nextSlot = 7;
  bool slotsFree = true;
  unsigned long focus = 0;  // the view's window is given it by the fixture
  CPoint caret{-1, -1};
  int caretShown = 1;
  int gcsReleased = 0;
  int winLang = 0;
  std::vector<std::string> timers;  // "create 40", "release 7"

  uint32_t NowMs() override { return now; }
  int CreateTimer(unsigned long ms, unsigned long) override {
    timers.push_back("create " + std::to_string(ms));
    return slotsFree ? nextSlot : kNoTimer;
  }
  void ReleaseTimer(int slot) override { timers.push_back("release " + std::to_string(slot)); }
  unsigned long FocusWin() override { return focus; }
  void SetCaretPt(CPoint pt) override { caret = pt; }
  CPoint GetCaretPt() override { return caret; }
  int MapCaret(int show) override {
    const int old = caretShown;
    caretShown = show;
    return old;
  }
  int TextWidth(const CFont&, const char*, int n) override { return n * kByteWidth; }
  void ReleaseGC(GC) override { ++gcsReleased; }
  int WinLang(unsigned long) override { return winLang; }

  // The clipboard: what the program offers, or what another client offers
  // when the program does not own it; empty for nothing.
  std::string clipboard;
  int beeps = 0;
  int SetClipbrdText(char* text) override {
    if (!text) return 0;
    clipboard = text;
    return 1;
  }
  int GetClipbrdText(char** out, int) override {
    if (!out || clipboard.empty()) return 0;
    *out = new char[clipboard.size() + 1];
    std::copy(clipboard.begin(), clipboard.end(), *out);
    (*out)[clipboard.size()] = '\0';
    return 1;
  }
  void Beep() override { ++beeps; }
};

struct RecordingEngine : IEditorEngine {
  int resets = 0;
  int fanTi = 0;
  void ResetChnInput(int a, int b, int c) override {
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 1);
    ++resets;
  }
  int FanTi() override { return fanTi; }
};

// The host: a view rectangle, a GC that is a counted token.
class TestView : public AEdtVu {
 public:
  GC edtvuGetGC() override {
    if (!giveGC) return nullptr;
    ++gcsGiven;
    return reinterpret_cast<GC>(&token);
  }
  void GetClipRc(CRect* rc) override { *rc = vu; }
  void GetVuRect(CRect* rc) override { *rc = vu; }

  CRect vu{0, 0, 200, 96};  // 25 columns of 8, 4 rows of 24
  bool giveGC = true;
  int gcsGiven = 0;

 private:
  int token = 0;
};

constexpr unsigned long kHostWindow = 0x400001;

class EdtVuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEditorEngine(&engine);
    world.focus = kHostWindow;
    view.SetWorld(&world);
    view.SetWin(kHostWindow);
    view.SetDocument(&doc);
    CRect bars[2] = {CRect(0, 90, 200, 106), CRect(194, 0, 210, 90)};
    view.InitScrollers(bars, nullptr, nullptr);
    view.OnCreate();  // no font: height 16, width 8
  }
  void TearDown() override { SetEditorEngine(nullptr); }

  // Replaces the document's text and rebuilds the rows and scroll ranges.
  void SetText(const std::string& text) {
    doc.ClearAll();
    long row = 0;
    int col = 0, disp = 0;
    std::string bytes = text;
    if (!bytes.empty())
      doc.InsertBytes(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), row, col, disp);
    doc.MakeLineInfo(-1, 0);
    view.MySetScrollParams();
  }
  // n rows "row 0" .. "row n-1", each padded to width bytes, CR LF breaks.
  static std::string Rows(int n, int width = 5) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      std::string r = "row " + std::to_string(i);
      r.resize(std::max<size_t>(r.size(), width), '.');
      s += r + (i + 1 < n ? "\r\n" : "");
    }
    return s;
  }
  std::string Selected() {
    CPoint a = view.m_ptSelAnchor, e = view.m_ptSelEnd;
    if (a.y != e.y) return "<rows " + std::to_string(a.y) + ".." + std::to_string(e.y) + ">";
    CString line;
    doc.GetLine(a.y, line);
    const int from = std::min(a.x, e.x), to = std::max(a.x, e.x);
    return std::string(static_cast<const char*>(line) + from, to - from);
  }

  FakeWorld world;
  RecordingEngine engine;
  AEdtStor doc;
  TestView view;
};

}  // namespace edtvutest
