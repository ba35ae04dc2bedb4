// Settings.h: kvr's profile. [Config] holds the input method's settings
// (cfgInputManager, engine/InputSettings.h) and the front end's own seven
// (gcfg); [Mainframe] the main bar's position. The profile is the program
// directory + launch name + ".ini" (CWinApp::m_strProfilePath).
//
// Loading applies the rules of each key. A value that is absent, empty or
// not a number (a damaged profile) reads as the key's default, and so does
// every key when the profile cannot be read: a broken file never leaves the
// input method with zero candidates or the bar off the screen.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

class CWinApp;

// The front end's settings beside cfgInputManager, in this order.
struct typFrontCfg {
  int32_t UseBmpFont;
  int32_t CandidateBarStyle;  // 1 classic pane colours, else modern
  int32_t Left, Top;          // the main bar's top-left corner, root coordinates
  int32_t StartupAtBoot;
  int32_t ShortBar;  // nonzero: the short bar
  int32_t ICON1;     // 1 and 2: alternative faces of the mode cell
};
extern typFrontCfg gcfg;

// Reads [Config] and [Mainframe] of app's profile into cfgInputManager and
// gcfg. workArea is the screen's work area (GetWindowsWorkArea); big5Locale
// nonzero under a Big5 locale. InputMode becomes 0 (Chinese while the
// engine starts), slot 9 0, useFloatPromptPane 1; ChnUI is applied to the
// application's UI language at once (SetAppUiLang).
void LoadPreferences(CWinApp& app, const CRect& workArea, int big5Locale);

// Writes [Config], then [Mainframe] Left and Top from barRect when it is not
// null. Returns 1 when every value was written.
int WritePreferences(CWinApp& app, const CRect* barRect);

// WritePreferences of the running application with the main bar's rectangle
// in root coordinates, when it can be read (ghMainePane).
int SavePreferences();
// The same without touching the display (the X connection is lost): the
// bar's position is left as the profile has it.
int SavePreferencesNoDisplay();

// The application UI language of a ChnUI value: 0 English (0), 2
// traditional (1001), any other simplified (1000). Sets it on the
// application and returns the previous language.
int SetAppUiLang(int chnUI);
