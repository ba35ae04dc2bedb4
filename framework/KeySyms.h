// KeySyms.h: the X keysyms that the engine and the controls test keys
// against, as plain values, so that neither needs an Xlib header. Letter
// keys reach the engine as the capital keysyms 'A' to 'Z'; every other key
// as its X keysym. One list for everyone: add a key here, never beside its
// user.
#pragma once

namespace keysym {

constexpr unsigned long kSpace = 0x20;
constexpr unsigned long kGrave = 0x60;
constexpr unsigned long kIsoLeftTab = 0xFE20;  // Shift+Tab
constexpr unsigned long kBackSpace = 0xFF08;
constexpr unsigned long kTab = 0xFF09;
constexpr unsigned long kReturn = 0xFF0D;
constexpr unsigned long kPause = 0xFF13;
constexpr unsigned long kScrollLock = 0xFF14;
constexpr unsigned long kEscape = 0xFF1B;
constexpr unsigned long kHome = 0xFF50;
constexpr unsigned long kLeft = 0xFF51;
constexpr unsigned long kUp = 0xFF52;
constexpr unsigned long kRight = 0xFF53;
constexpr unsigned long kDown = 0xFF54;
constexpr unsigned long kPrior = 0xFF55;
constexpr unsigned long kNext = 0xFF56;
constexpr unsigned long kEnd = 0xFF57;
constexpr unsigned long kInsert = 0xFF63;
constexpr unsigned long kCancel = 0xFF69;
constexpr unsigned long kNumLock = 0xFF7F;
constexpr unsigned long kKpEnter = 0xFF8D;
constexpr unsigned long kF1 = 0xFFBE;
constexpr unsigned long kF6 = 0xFFC3;
constexpr unsigned long kF8 = 0xFFC5;
constexpr unsigned long kF9 = 0xFFC6;
constexpr unsigned long kF10 = 0xFFC7;
constexpr unsigned long kF11 = 0xFFC8;
constexpr unsigned long kF12 = 0xFFC9;
constexpr unsigned long kF24 = 0xFFD5;
constexpr unsigned long kShiftL = 0xFFE1;
constexpr unsigned long kShiftR = 0xFFE2;
constexpr unsigned long kControlL = 0xFFE3;
constexpr unsigned long kControlR = 0xFFE4;
constexpr unsigned long kCapsLock = 0xFFE5;
constexpr unsigned long kAltL = 0xFFE9;
constexpr unsigned long kAltR = 0xFFEA;
constexpr unsigned long kDelete = 0xFFFF;

}  // namespace keysym
