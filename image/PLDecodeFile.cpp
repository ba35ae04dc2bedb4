#include "image/PLDecodeFile.h"

#include <exception>
#include <new>
#include <string>

#include "image/PLAnyPicDecoder.h"
#include "image/PLBmp.h"
#include "image/PLTextException.h"

namespace {

constexpr const char* kFramePrefix = "Decoder error: ";

// The decoder's text as one line: without its frame and line ends.
std::string Reason(const char* text) {
  std::string s = text != nullptr ? text : "";
  if (s.compare(0, std::char_traits<char>::length(kFramePrefix), kFramePrefix) == 0) {
    s.erase(0, std::char_traits<char>::length(kFramePrefix));
  }
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  for (char& c : s) {
    if (c == '\n') c = ' ';
  }
  return s;
}

}  // namespace

bool PLDecodeFile(const char* path, PLBmp* bitmap, int bpp, CString* error) {
  std::string reason;
  try {
    PLAnyPicDecoder decoder;
    decoder.MakeBmpFromFile(path, bitmap, bpp);
    return true;
  } catch (const PLTextException& e) {
    reason = Reason(e);
  } catch (const std::bad_alloc&) {
    reason = "Out of memory.";
  } catch (const std::exception& e) {
    reason = e.what();  // none is expected; still none may leave the subsystem
  }
  if (error != nullptr) *error = (std::string(path != nullptr ? path : "") + ": " + reason).c_str();
  return false;
}
