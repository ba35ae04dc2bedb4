#include "image/internal/PLJpegMemSrc.h"

#include <jerror.h>

namespace {

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Called only when the data are used up.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
  static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = kEndOfImage;
  cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  if (static_cast<size_t>(count) < src->bytes_in_buffer) {
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
    return;
  }
  FillInputBuffer(cinfo);  // the rest is dropped; the image ends here
}

}  // namespace

void PLJpegMemSrc(j_decompress_ptr cinfo, const JOCTET* data, size_t size, void* client,
                  void (*notify)(j_common_ptr)) {
  j_common_ptr common = reinterpret_cast<j_common_ptr>(cinfo);
  if (cinfo->src == nullptr) {
    cinfo->src = static_cast<jpeg_source_mgr*>(
        (*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(jpeg_source_mgr)));
  }
  if (cinfo->progress == nullptr) {
    cinfo->progress = static_cast<jpeg_progress_mgr*>(
        (*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(jpeg_progress_mgr)));
    cinfo->progress->progress_monitor = notify;
  }
  cinfo->client_data = client;
  jpeg_source_mgr* src = cinfo->src;
  src->init_source = InitSource;
  src->fill_input_buffer = FillInputBuffer;
  src->skip_input_data = SkipInputData;
  src->resync_to_restart = jpeg_resync_to_restart;
  src->term_source = TermSource;
  src->next_input_byte = data;
  src->bytes_in_buffer = size;
}
