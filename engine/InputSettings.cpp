#include "engine/InputSettings.h"

#include <cassert>

typInputSettings cfgInputManager{};

namespace {

using SlotPtr = int32_t typInputSettings::*;

struct SlotInfo {
  SlotPtr member;
  const char* name;
};

constexpr SlotInfo kSlots[typInputSettings::kSlotCount] = {
    {&typInputSettings::InputMode, "InputMode"},
    {&typInputSettings::InputMthd, "InputMthd"},
    {&typInputSettings::StdPinYin, "StdPinYin"},
    {&typInputSettings::ShuangPin, "ShuangPin"},
    {&typInputSettings::ShuangPinScheme, "ShuangPinScheme"},
    {&typInputSettings::candidateOrderChoice, "candidateOrderChoice"},
    {&typInputSettings::NumberOfCandidatesShown, "NumberOfCandidatesShown"},
    {&typInputSettings::useCizu, "useCizu"},
    {&typInputSettings::PinYinSelectionNum1SameAsNum2, "PinYinSelectionNum1SameAsNum2"},
    {&typInputSettings::reserved9, ""},
    {&typInputSettings::ShowTip, "ShowTip"},
    {&typInputSettings::ShowTipOnStatusbar, "ShowTipOnStatusbar"},
    {&typInputSettings::useFloatPromptPane, "useFloatPromptPane"},
    {&typInputSettings::useZiCiForecast, "useZiCiForecast"},
    {&typInputSettings::ExcludeLevel, "ExcludeLevel"},
    {&typInputSettings::generalFuzzyMatchDegree, "generalFuzzyMatchDegree"},
    {&typInputSettings::UseChnPunctMark, "UseChnPunctMark"},
    {&typInputSettings::FullSize, "FullSize"},
    {&typInputSettings::ChnUI, "ChnUI"},
    {&typInputSettings::FanTi, "FanTi"},
    {&typInputSettings::AddSpaceInOutput, "AddSpaceInOutput"},
    {&typInputSettings::TipAtStart, "TipAtStart"},
    {&typInputSettings::TipNum, "TipNum"},
    {&typInputSettings::ChnEnglshSwitchKey, "ChnEnglshSwitchKey"},
    {&typInputSettings::UseIKey4IMode, "UseIKey4IMode"},
    {&typInputSettings::UseUKey4ChnNum, "UseUKey4ChnNum"},
    {&typInputSettings::fuzziPY, "fuzziPY"},
    {&typInputSettings::chc_fuzzy, "chc_fuzzy"},
    {&typInputSettings::zhz_fuzzy, "zhz_fuzzy"},
    {&typInputSettings::shs_fuzzy, "shs_fuzzy"},
    {&typInputSettings::lr_fuzzy, "lr_fuzzy"},
    {&typInputSettings::ChnEnglshSwitchByShiftAlpha, "ChnEnglshSwitchByShiftAlpha"},
    {&typInputSettings::PYSingleCharShowMultiRow, "PYSingleCharShowMultiRow"},
    {&typInputSettings::PromptParallelSel, "PromptParallelSel"},
};

constexpr int kReservedSlot = 9;

bool ValidSlot(int slot) { return slot >= 0 && slot < typInputSettings::kSlotCount; }

}  // namespace

int32_t& typInputSettings::Slot(int slot) {
  assert(ValidSlot(slot));
  return this->*kSlots[ValidSlot(slot) ? slot : kReservedSlot].member;
}

int32_t typInputSettings::Slot(int slot) const {
  assert(ValidSlot(slot));
  return this->*kSlots[ValidSlot(slot) ? slot : kReservedSlot].member;
}

const char* typInputSettings::SlotName(int slot) {
  return ValidSlot(slot) ? kSlots[slot].name : "";
}

int32_t ClampedCandidatesShown(const typInputSettings& cfg) {
  const int32_t n = cfg.NumberOfCandidatesShown;
  if (n < kMinCandidatesShown) return kMinCandidatesShown;
  if (n > kMaxCandidatesShown) return kMaxCandidatesShown;
  return n;
}
