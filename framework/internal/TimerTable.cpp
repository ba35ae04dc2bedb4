#include "framework/internal/TimerTable.h"

namespace afc {

int TimerTable::Create(unsigned long ms, unsigned long window) {
  for (int slot = kReservedTimers; slot < kMaxTimers; ++slot) {
    Entry& e = At(slot);
    if (e.ticks != 0) continue;
    const unsigned long ticks = ms / kTickMs;
    e.ticks = ticks == 0 ? 1u : (ticks > 0xffffffffUL ? 0xffffffffu : static_cast<uint32_t>(ticks));
    e.window = window;
    return slot;
  }
  return kNoTimerSlot;
}

int TimerTable::Release(int slot) {
  if (slot < 0 || slot >= kMaxTimers) return -1;
  Entry& e = At(slot);
  const int wasUsed = e.ticks != 0 ? 1 : 0;
  e.ticks = 0;
  return wasUsed;
}

int TimerTable::ReleaseWindow(unsigned long window) {
  int released = 0;
  for (Entry& e : m_entries) {
    if (e.ticks != 0 && e.window == window) {
      e.ticks = 0;
      ++released;
    }
  }
  return released;
}

bool TimerTable::Pump(uint32_t now, const std::function<void(int, uint32_t, unsigned long)>& fire,
                      bool* caretDue) {
  if (caretDue) *caretDue = false;
  if (static_cast<uint32_t>(now - m_lastTickMs) < kTickMs) return false;
  m_lastTickMs = now;
  ++m_tick;
  for (int slot = kReservedTimers; slot < kMaxTimers; ++slot) {
    const Entry& e = At(slot);
    if (e.ticks != 0 && m_tick % e.ticks == 0) fire(slot, m_tick, e.window);
  }
  const Entry& caret = At(kCaretSlot);
  if (caretDue) *caretDue = caret.ticks != 0 && m_tick % caret.ticks == 0;
  return true;
}

}  // namespace afc
