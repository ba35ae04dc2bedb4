// FrameCommands.h: the commands the engine posts to the main frame through
// IEngineHost::PostFrameCommand (a hot key that switches the input mode, or
// clears the input). The front end runs them from its command table, which
// checks its own ids against these (frontend/BarCommands.cpp), so the two
// sides cannot drift. The ids are those of the resource script's menu items.
#pragma once

#include <cstdint>

namespace framecmd {

constexpr uint32_t kToggleInputMode = 0x69;  // 105: Chinese / English input
constexpr uint32_t kClearInput = 0xE18C;     // 57740
constexpr uint32_t kAltA = 0xE1B3;           // 57779: right Alt+A; the frame ignores it

}  // namespace framecmd
