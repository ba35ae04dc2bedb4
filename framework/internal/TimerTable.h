// TimerTable.h: the kernel's software timers. Every timer counts whole ticks
// of 300 ms; the pump advances the tick at most once per 300 ms of the clock
// and reports every slot whose tick count divides the tick counter. Ticks
// missed while the program was busy are not made up. Slot 0 is the caret's;
// CreateTimer hands out slots 1 to 1023 and answers kNoTimerSlot when all are
// taken. Pure bookkeeping, no X: the kernel posts the messages.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace afc {

class TimerTable {
 public:
  static constexpr int kMaxTimers = 1024;
  static constexpr int kReservedTimers = 1;
  static constexpr int kCaretSlot = 0;
  static constexpr uint32_t kTickMs = 300;
  static constexpr int kNoTimerSlot = kMaxTimers;

  struct Entry {
    uint32_t ticks = 0;        // 0: free
    unsigned long window = 0;  // kept after release, as a record only
  };

  TimerTable() : m_entries(kMaxTimers) {}

  // First free slot from 1, ticks = max(ms / 300, 1); kNoTimerSlot if full.
  int Create(unsigned long ms, unsigned long window);
  // -1 for a slot outside 0..1023; else 1 when it was in use, 0 when not.
  int Release(int slot);
  // Frees every slot (caret included) held by window; returns how many.
  int ReleaseWindow(unsigned long window);

  Entry& At(int slot) { return m_entries[static_cast<size_t>(slot)]; }
  const Entry& At(int slot) const { return m_entries[static_cast<size_t>(slot)]; }

  // Advances the tick when at least 300 ms passed since the last one (in
  // unsigned arithmetic, so the clock may wrap). For each due slot from 1
  // calls fire(slot, tick, window) in slot order; *caretDue tells whether
  // the caret slot is due. Returns false when it was too early.
  bool Pump(uint32_t now, const std::function<void(int, uint32_t, unsigned long)>& fire,
            bool* caretDue);

  uint32_t TickCount() const { return m_tick; }

 private:
  std::vector<Entry> m_entries;
  uint32_t m_tick = 0;
  uint32_t m_lastTickMs = 0;
};

}  // namespace afc
