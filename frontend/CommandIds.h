// CommandIds.h: the ids of the main bar's commands. A command is window
// message 273 to the bar with the id in data word 0; the popup menu, the
// bar's cells and its hot keys post them, and the bar's command table
// (frontend/BarCommands.h) carries them out. The menu items of the resource
// script (frontend/rc/Jux.rc) carry the same numbers.
#pragma once

#include <cstdint>

enum : uint32_t {
  kCmdToggleInputMode = 0x69,  // Chinese / English input
  kCmdHelpMenu = 0x8007,       // pop up submenu 2
  kCmdAbout = 0xE140,
  kCmdPrefsMenu = 0xE167,  // pop up submenu 1
  kCmdBmpFont = 0xE16F,    // a menu item only: its check shows UseBmpFont
  kCmdPrintKeymap = 0xE170,
  kCmdKeymap = 0xE171,
  kCmdRepeatLast = 0xE176,
  kCmdChnNumber = 0xE178,
  kCmdChnNumberFanTi = 0xE179,
  kCmdGuide = 0xE17F,  // kivraguide.htm
  kCmdChnPunct = 0xE180,
  kCmdReadme = 0xE181,    // readme2.igb
  kCmdKvrGuide = 0xE184,  // KVRGUIDE.HTM
  kCmdUiEnglish = 0xE186,
  kCmdTips = 0xE187,
  kCmdMainMenu = 0xE189,  // pop up submenu 0
  kCmdClearInput = 0xE18C,
  kCmdInputOptions = 0xE18D,
  kCmdToggleInputMethod = 0xE196,
  kCmdFanTi = 0xE199,
  kCmdPhraseBuilding = 0xE19A,
  kCmdSlideShow = 0xE1A1,
  kCmdReSelect = 0xE1A5,
  kCmdShowBar = 0xE1A6,
  kCmdHideBar = 0xE1A7,
  kCmdMsg18 = 0xE1A8,
  kCmdFullWidth = 0xE1A9,
  kCmdHelpNewWords = 0xE1AA,
  kCmdDelayedReset = 0xE1AC,
  kCmdAddSpace = 0xE1AD,
  kCmdUiSimplified = 0xE1AE,
  kCmdUiTraditional = 0xE1AF,
  kCmdBarStyle = 0xE1B0,
  kCmdResetInput = 0xE1B1,
  kCmdAltV = 0xE1B2,  // posted by right Alt+V; nothing handles it
  kCmdAltA = 0xE1B3,  // posted by right Alt+A; nothing handles it
  kCmdHelpSymbols = 0xE1B4,
  kCmdFindSaying = 0xE1B6,
};

// The menu items whose checks and enables follow the settings lie in this
// range (ChangeMenuState).
constexpr int kMenuStateFirstId = 0xE16F;
constexpr int kMenuStateLastId = 0xE1AF;
