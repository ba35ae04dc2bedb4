// FrontendHost.h: the engine's host in kvr (engine/EngineHost.h). Commits
// and returned keys go to the XIM client of the last forwarded key, text
// for kvr's own edit controls goes to the control as message 1400, the
// status window shows the engine's tips, and the dictionaries lie in the
// program directory.
//
// The pane calls drive the input panes (frontend/InputPanes.h) and also
// keep a count of what the engine asked for (PaneState), which tests read.
#pragma once

#include <string>

#include "engine/EngineHost.h"

class FrontendHost final : public IEngineHost {
 public:
  // What the engine last asked of the panes.
  struct PaneState {
    int keyPaneUpdates = 0;  // SetKeyPane calls
    std::string choiceText;  // the last SetChoicePane text
    int choiceHighlight = 0;
    unsigned long choiceColour = 0;
    int forecastShown = 0;
    int pane2Invalidations = 0;
  };
  const PaneState& Panes() const { return m_panes; }

  unsigned long MyGetFocus() override;
  void SetKeyPane() override;
  void SetChoicePane(const char* text, int highlightLength, unsigned long colour) override;
  void InvalidateRect_hwndInputPane2() override;
  void ShowTipMsg(const char* text) override;
  int ShowZiCiForecastPane(int show) override;
  bool IsStatusWndShown() override;
  void HideStatusWnd() override;
  void PostFrameCommand(uint32_t id) override;
  void SendStrToClient(typFwdEventView& rec, const char* text) override;
  void IMForwardEvent(typFwdEventView& rec) override;
  unsigned long CommitTargetWindow() override;
  void SendTextToEditCtrl(unsigned long window, const char* text) override;
  void MessageBeep() override;
  int GrabSomeKeys(unsigned long window) override;
  int UnGrabSomeKeys() override;
  uint32_t GetMiliSecCount() override;
  uint32_t Time() override;
  int ChMsgbox2(const char* format, int type, int literal, va_list args) override;
  void DiagMessage(const char* text) override;
  const char* DataDir() override;
  IFileOps& FileOps() override;

 private:
  PaneState m_panes;
};

// kvr's one host, bound at start-up.
FrontendHost& TheFrontendHost();
