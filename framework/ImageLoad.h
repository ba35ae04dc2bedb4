// ImageLoad.h: the resource images. They live in the "res" directory under
// the program directory, are found by resource id (through the resource
// compiler's bitmap and icon tables) or by file name, ignoring letter case,
// decoded by the image decoders into 32-bit pixels and converted into X
// images of the screen's depth, one X pixel per image pixel, each colour
// through GetClosestSysClr. Images are decoded afresh on every call.
//
// A file that is missing or cannot be decoded gives no image: the reason
// goes to stderr and the loaders return null. Images handed out belong to
// the caller (XDestroyImage; a PLAnyBmp with delete).
#pragma once

#include "base/CString.h"
#include "framework/XDrawTypes.h"

class PLAnyBmp;

// Program directory + "res/" + the file the bitmap table (else the icon
// table) names for id, matched ignoring case (program directory + "res/"
// when no file matches). Empty, with "BMP <id> not found!!!" on stdout,
// when neither table has id.
CString GetResImgPathFromId(int id);

// The last entry of dir, in alphabetical order, whose name equals name
// ignoring case; empty when none does or dir cannot be read.
CString GetMatchingRealFileNameForCaseInSensitiveName(const char* dir, const char* name);

// The file decoded at 32 bits per pixel (BMP or JPEG, recognised by
// content); null when it cannot be opened or decoded.
PLAnyBmp* LoadPLBmp(const char* path);

// The file decoded and converted to an X image; null on failure or without
// a display.
XImage* LoadBmpFile(const char* path);
// LoadBmpFile(GetResImgPathFromId(id)).
XImage* LoadBmpId(int id);
// The file name matched ignoring case in program directory + "res"; null
// for a null name.
XImage* LoadBmp(char* name);
