// PLDecodeFile.h: the entry into image decoding for the other subsystems. It
// runs the decoder's whole road (PLAnyPicDecoder: OpenFile, MakeBmp, Close)
// and turns every failure into a return value, so no exception leaves the
// image subsystem.
#pragma once

#include "base/CString.h"

class PLBmp;

// Decodes the BMP or JPEG file at path (recognised by its content) into
// bitmap at bpp bits per pixel (0: the file's own depth; the framework asks
// for 32). True on success. On failure *error (when error is not null) gets
// one line naming the file and the reason, for example
//   "res/bar.bmp: Bitmap decoder: colour table of 300 entries (at most 256)."
// and bitmap may hold a partly decoded picture that the caller must not
// show. path and bitmap must not be null.
[[nodiscard]] bool PLDecodeFile(const char* path, PLBmp* bitmap, int bpp, CString* error);
