// PaneColours.h: the colours the input-pane images share with the panes
// they are drawn on (the modern scheme's background and border), so an image
// blends into its pane.
#pragma once

#include <cstdint>

namespace resgen {

constexpr uint32_t kPaneBackground = 0xFFF0F0;
constexpr uint32_t kPaneBorder = 0xC1C1BE;

}  // namespace resgen
