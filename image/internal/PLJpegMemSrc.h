// PLJpegMemSrc.h: a libjpeg source manager over a block in memory, and the
// progress hook that forwards the library's progress to a data source.
//
// libjpeg-turbo declares its own jpeg_mem_src, hence the different name.
// At the end of the data the source supplies an end-of-image marker after a
// "Premature end of JPEG file" warning, so a cut file decodes as far as it
// goes and the library fills the rest.
#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

// Installs the source on cinfo: size bytes at data (borrowed: they must stay
// valid until the decompression ends or is aborted). The source and progress
// records come from the library's permanent pool, once per object; client is
// stored as the object's client data, notify as its progress monitor.
void PLJpegMemSrc(j_decompress_ptr cinfo, const JOCTET* data, size_t size, void* client,
                  void (*notify)(j_common_ptr));
