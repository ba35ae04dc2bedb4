// RecordingHost.h: the engine's host for tests. Every call becomes one line
// in `calls`, so a test compares one sequence; the clocks return what the
// test sets; the data directory is the test's own copy of its fixture.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "engine/EngineHost.h"
#include "engine/FwdEvent.h"

struct RecordingHost : IEngineHost {
  std::vector<std::string> calls;
  std::string dataDir = "./";  // with the trailing '/'
  uint32_t nowMs = 0;
  uint32_t nowSec = 1000000;
  unsigned long focus = 0;
  unsigned long commitTarget = 0;
  bool statusShown = false;
  IFileOps* fileOps = &SystemFileOps();  // borrowed

  void Add(const std::string& line) { calls.push_back(line); }
  // The calls whose line starts with prefix.
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
      if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
  }

  unsigned long MyGetFocus() override { return focus; }
  void SetKeyPane() override { Add("keypane"); }
  void SetChoicePane(const char* text, int hl, unsigned long colour) override {
    char tail[64];
    snprintf(tail, sizeof tail, " hl=%d colour=%06lx", hl, colour);
    Add(std::string("choicepane ") + text + tail);
  }
  void InvalidateRect_hwndInputPane2() override { Add("invalidate choicepane"); }
  void ShowTipMsg(const char* text) override { Add(std::string("tip ") + text); }
  int ShowZiCiForecastPane(int show) override {
    Add(show ? "forecast show" : "forecast hide");
    return 1;
  }
  bool IsStatusWndShown() override { return statusShown; }
  void HideStatusWnd() override {
    statusShown = false;
    Add("status hide");
  }
  void PostFrameCommand(uint32_t id) override { Add("command " + std::to_string(id)); }
  void SendStrToClient(typFwdEventView& rec, const char* text) override {
    Add("commit " + std::to_string(rec.connect_id) + "/" + std::to_string(rec.icid) + " " + text);
  }
  void IMForwardEvent(typFwdEventView& rec) override {
    Add("forward keycode=" + std::to_string(rec.event.keycode) +
        " state=" + std::to_string(rec.event.state) + " type=" + std::to_string(rec.event.type));
  }
  uint32_t backSpaceKeycode = kBackSpaceKeycode;
  uint32_t BackSpaceKeycode(const typFwdEventView&) override { return backSpaceKeycode; }
  unsigned long CommitTargetWindow() override { return commitTarget; }
  void SendTextToEditCtrl(unsigned long window, const char* text) override {
    Add("edit " + std::to_string(window) + " " + text);
  }
  void MessageBeep() override { Add("beep"); }
  int GrabSomeKeys(unsigned long window) override {
    Add("grab " + std::to_string(window));
    return 1;
  }
  int UnGrabSomeKeys() override {
    Add("ungrab");
    return 1;
  }
  uint32_t GetMiliSecCount() override { return nowMs; }
  uint32_t Time() override { return nowSec; }
  int ChMsgbox2(const char* format, int type, int literal, va_list args) override {
    char text[512];
    vsnprintf(text, sizeof text, format, args);
    Add("msgbox " + std::to_string(type) + " " + text);
    return 1;
  }
  void DiagMessage(const char* text) override { Add(std::string("diag ") + text); }
  const char* DataDir() override { return dataDir.c_str(); }
  IFileOps& FileOps() override { return *fileOps; }
};
