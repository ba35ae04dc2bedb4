// KeymapEvents.h: the readings of pointer events that the keymap window's
// drag needs beyond framework/x11/EventAccess.h, kept here so that the
// window's code stays free of Xlib.
#pragma once

#include "base/Geometry.h"
#include "framework/XTypes.h"

// The pointer's root position in a button or motion event; false for any
// other event (or null).
bool KeymapEventRootPoint(const XEvent* event, CPoint* root);
