// XDrawTypes.h: the Xlib drawing types that the framework's drawing, font and
// image headers name (images, regions, font sets), declared without Xlib so
// that code above the platform layer can pass them around. The declarations
// match Xlib's own, so a file may include both.
#pragma once

#include "framework/XTypes.h"

struct _XImage;
typedef struct _XImage XImage;
struct _XRegion;
typedef struct _XRegion* Region;
struct _XOC;
typedef struct _XOC* XFontSet;
