// CMdiApp.h: kvr's application class. The framework's main drives the one
// global object (theApp, defined with the program's main): InitApplication
// names the resource script "Jux" and hands the framework its resource
// compiler; InitInstance brings up the settings, the main bar with its
// status and tool-tip windows, the engine with its dictionaries and the XIM
// server; the idle work resets stale wildcard input and saves a lexicon
// left unsaved too long; HandleEvent gives the XIM glue the events no
// window owns. The object owns the frame.
//
// The program normally ends by a signal (the session ends): the exit
// callback saves the settings, the lexicon and the learned order from the
// main loop before the process exits; a lost X connection saves them
// without touching the display.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/CWinApp.h"

class CMainFrame;

class CMdiApp : public CWinApp {
 public:
  CMdiApp();
  int InitInstance() override;
  int DoThingsWhenIdle(long) override;
  int ExitInstance() override;
  ~CMdiApp() override;
  int InitApplication() override;
  int HandleEvent(int result) override;

  int DoOnIdle();

  // ---- Command handlers (frontend/BarCommands.cpp).
  void OnAppAbout();
  void OnOptionChnpunctuation();  // UseChnPunctMark on or off
  void OnOptionChnfullsize();     // FullSize on or off
  void OnChgUi();                 // English UI
  void OnChgUi1();                // simplified Chinese UI
  void OnChgUi2();                // traditional Chinese UI
  void OnViewCiReselect();        // re-select the last committed item

  CMainFrame* frame = nullptr;  // owned; null until InitInstance creates it

 private:
  // Destroys the panes, the tool tip, the status windows and the bar, and
  // closes the dictionaries when they were loaded.
  void ReleaseWindowsAndDictionary();
};

// The idle work at the given time, in whole seconds (the clock of the
// engine's back copy of the typed keys and of its lexicon changes).
void DoIdleWork(uint32_t nowSec);

// Offers to close a rival input method; 1 when it killed one. ask shows a
// Yes/No question and returns 6 for Yes; findPid gives a process id or 0.
int Ask4ClosingChnInputAppsIfThereAreAny();
int AskToCloseRivals(const std::function<int(const char* name)>& findPid,
                     int (*ask)(const char* text), int (*kill)(int pid));

// Creates the profile when it does not exist: a header line and, when the
// UI-text file's [Config] UseBmpFont begins with '0', that setting.
void CreateProfileIfMissing(const char* profile, const char* uiIni);

int CanUseNonBmpFont();

// What the end of the session saves: the settings (withDisplay: also the
// bar's position) and, when loaded, the lexicon and the learned order.
void SaveAtSessionEnd(bool withDisplay);
