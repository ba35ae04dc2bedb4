// A bar world that records every call as one line, for the command table
// and the bar's state machines. Positions: the bar sits at origin; MoveBar
// goes where it is asked unless clampX is set (then x stops there).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "frontend/BarWorld.h"

struct RecordingBarWorld : IBarWorld {
  std::vector<std::string> calls;
  std::vector<CPoint> queuedMotions;  // TakeNewestMotion takes the last
  CPoint origin{100, 500};
  int clampX = -1;
  bool barShown = false;
  uint32_t now = 100000;
  int saves = 0;
  // How each dialog ends, by template id: its result and the fields it
  // changed (index, value). A dialog without an answer is cancelled.
  struct DialogAnswer {
    int result = 2;
    std::vector<std::pair<int, int32_t>> fields;
  };
  std::map<int, DialogAnswer> dialogAnswers;
  std::vector<int32_t> dialogFieldsIn;  // the fields the last dialog was given

  void Rec(const std::string& s) { calls.push_back(s); }
  static std::string Pt(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

  void PostCommand(uint32_t id) override { Rec("post " + std::to_string(id)); }
  void RepaintBar() override { Rec("repaint"); }
  int RaiseMenu(int n) override {
    Rec("menu " + std::to_string(n));
    return 1;
  }
  void MapBar(bool show) override {
    barShown = show;
    Rec(show ? "show bar" : "hide bar");
  }
  bool IsBarShown() override { return barShown; }
  int MessageBox(const char* text) override {
    Rec(std::string("box ") + text);
    return 1;
  }
  void OpenGuide(const char* fileName) override { Rec(std::string("guide ") + fileName); }
  void ShowTipMsg(const char* text) override { Rec(std::string("status ") + text); }
  void Sleep(int seconds) override { Rec("sleep " + std::to_string(seconds)); }
  int ChangeMenuState() override {
    ++saves;
    Rec("menustate");
    return 1;
  }
  int RunDialog(int id, int32_t* fields, int count) override {
    Rec("dialog " + std::to_string(id));
    dialogFieldsIn.assign(fields, fields + count);
    const DialogAnswer answer = dialogAnswers[id];
    for (const auto& [index, value] : answer.fields) {
      if (index >= 0 && index < count) fields[index] = value;
    }
    return answer.result;
  }
  int SaveProfile() override {
    ++saves;
    Rec("save profile");
    return 1;
  }
  void PlaceInputPanes() override { Rec("place panes"); }
  void SetPaneStyle(int style) override { Rec("pane style " + std::to_string(style)); }
  void GrabPointer(bool grab) override { Rec(grab ? "grab" : "ungrab"); }
  void PaintCell(int cell, bool pressed) override {
    Rec("paint " + std::to_string(cell) + (pressed ? " pressed" : ""));
  }
  bool TakeNewestMotion(CPoint* point) override {
    if (queuedMotions.empty()) return false;
    *point = queuedMotions.back();
    queuedMotions.clear();
    return true;
  }
  CPoint MoveBar(int x, int y) override {
    if (clampX >= 0 && x > clampX) x = clampX;
    origin = CPoint(x, y);
    Rec("move " + Pt(origin));
    return origin;
  }
  CPoint BarOrigin() override { return origin; }
  void PostAfterMove() override { Rec("aftermove"); }
  uint32_t NowMs() override { return now; }
  void StartTipTimer(int ms) override { Rec("timer " + std::to_string(ms)); }
  void StopTipTimer() override { Rec("timer off"); }
  void ShowToolTip(int cells, CPoint pointer) override {
    Rec("tip " + std::to_string(cells) + " at " + Pt(pointer));
  }
  void HideToolTip() override { Rec("tip hidden"); }

  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(calls);
    return out;
  }
};
