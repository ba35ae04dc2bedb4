// InputSettings.h: cfgInputManager, the input method's 34 settings slots.
// Each slot is a signed 32-bit value named after the profile [Config] key it
// is stored under. The front end loads and saves the record; the engine
// forces InputMthd and useCizu at start-up and clamps the page size; every
// other subsystem only reads it. Slot order is fixed: readers may index the
// record by slot number (Slot()) as well as by name.
#pragma once

#include <cstdint>

// Slot 0.
enum typInputMode : int32_t { kChineseInput = 0, kEnglishInput = 1 };
// Slot 1; also the index of every per-method member pair of the engine.
enum typInputMethod : int32_t { kXingMa = 0, kPinYin = 1 };

struct typInputSettings {
  int32_t InputMode;                      // 0  typInputMode
  int32_t InputMthd;                      // 1  typInputMethod
  int32_t StdPinYin;                      // 2
  int32_t ShuangPin;                      // 3
  int32_t ShuangPinScheme;                // 4  0 MS, 1 C_Star, 2 ZR
  int32_t candidateOrderChoice;           // 5  0 learned, 1 fixed, 2 manual
  int32_t NumberOfCandidatesShown;        // 6  2..10, pinyin page size
  int32_t useCizu;                        // 7
  int32_t PinYinSelectionNum1SameAsNum2;  // 8
  int32_t reserved9;                      // 9  always 0, not saved
  int32_t ShowTip;                        // 10
  int32_t ShowTipOnStatusbar;             // 11
  int32_t useFloatPromptPane;             // 12
  int32_t useZiCiForecast;                // 13
  int32_t ExcludeLevel;                   // 14 1000, 1500 or 10000
  int32_t generalFuzzyMatchDegree;        // 15 0 more, 1 less, 2 none
  int32_t UseChnPunctMark;                // 16
  int32_t FullSize;                       // 17
  int32_t ChnUI;                          // 18 0 English, 2 Big5, else GBK
  int32_t FanTi;                          // 19
  int32_t AddSpaceInOutput;               // 20
  int32_t TipAtStart;                     // 21
  int32_t TipNum;                         // 22 low 16 bits only
  int32_t ChnEnglshSwitchKey;             // 23 0 F12, 1 lone Ctrl
  int32_t UseIKey4IMode;                  // 24 not saved
  int32_t UseUKey4ChnNum;                 // 25 not saved
  int32_t fuzziPY;                        // 26
  int32_t chc_fuzzy;                      // 27
  int32_t zhz_fuzzy;                      // 28
  int32_t shs_fuzzy;                      // 29
  int32_t lr_fuzzy;                       // 30
  int32_t ChnEnglshSwitchByShiftAlpha;    // 31
  int32_t PYSingleCharShowMultiRow;       // 32
  int32_t PromptParallelSel;              // 33

  static constexpr int kSlotCount = 34;

  // The method and the mode by name, so that a reader greps one word.
  bool IsPinYinMethod() const { return InputMthd == kPinYin; }
  bool IsXingMaMethod() const { return InputMthd == kXingMa; }

  // Slot by number, 0..33; a number outside that range is a programming
  // error (asserted) and yields the reserved slot 9.
  int32_t& Slot(int slot);
  int32_t Slot(int slot) const;
  // The [Config] key of a slot; "" for the reserved slot 9 and for numbers
  // outside 0..33.
  static const char* SlotName(int slot);
};

static_assert(sizeof(typInputSettings) == 34 * 4, "34 packed 32-bit slots");

// The range the option dialog offers for NumberOfCandidatesShown. A profile
// may hold anything; the engine never pages by a value outside it.
constexpr int32_t kMinCandidatesShown = 2;
constexpr int32_t kMaxCandidatesShown = 10;
// The page size of shape-code input.
constexpr int32_t kXingMaPageSize = 8;

// NumberOfCandidatesShown limited to kMinCandidatesShown..kMaxCandidatesShown.
int32_t ClampedCandidatesShown(const typInputSettings& cfg);

// The one settings record. Zero before start-up; written by the front end
// (profile load, menu, hot keys, option dialog) and by the engine's start-up
// (InputMthd, useCizu, the clamped page size); read by every subsystem.
extern typInputSettings cfgInputManager;
