// The COMPOUND_TEXT conversion of committed text through Xlib.
#include "frontend/CommitText.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

bool ServerLocaleCompoundText(Display* dpy, const char* gbk, std::string& out);

// For a GBK client, every run of Chinese text goes twice: in the GBK
// extended segment, which XmbLookupString in a GBK locale reads (and no
// other segment), then in the standard segments, which Xutf8LookupString
// in the same locale reads (and not the GBK one). Each reader skips the
// form it does not know, so the client gets the text once whichever lookup
// it calls. After the standard segments ASCII is designated to GL again, so
// the ASCII that follows reads as ASCII (the standard segments leave GR
// alone; designating Latin-1 to it again makes the GBK reader drop what
// follows).
bool GbkClientCompoundText(Display* dpy, const char* gbk, std::string& out) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(gbk);
  while (*p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p++);
      continue;
    }
    const unsigned char* run = p;
    while (*p >= 0x80 && p[1]) p += 2;
    if (*p >= 0x80) return false;  // a lead byte without its trail
    const std::string chinese(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
    std::string segments, standard;
    if (!GbkToGbkSegments(chinese.c_str(), segments) ||
        !ServerLocaleCompoundText(dpy, chinese.c_str(), standard)) {
      return false;
    }
    out += segments;
    out += standard;
    out += "\x1b(B";
  }
  return true;
}

// Converted in the server's locale (GB18030): GB2312 segments for GB2312
// characters, UTF-8 segments for the others.
bool ServerLocaleCompoundText(Display* dpy, const char* gbk, std::string& out) {
  char* list[1] = {const_cast<char*>(gbk)};
  XTextProperty prop{};
  const int r = XmbTextListToTextProperty(dpy, list, 1, XCompoundTextStyle, &prop);
  // Success is 0; a positive count means characters were replaced, a
  // negative one that nothing was converted. An empty result for a text that
  // is not empty is a failure too (a sequence the locale does not know).
  const bool ok = r == Success && prop.value && prop.nitems > 0;
  if (ok) out.assign(reinterpret_cast<const char*>(prop.value), prop.nitems);
  if (prop.value) XFree(prop.value);
  return ok;
}

}  // namespace

bool GbkToCompoundText(_XDisplay* dpy, const char* gbk, CommitCharset form, std::string& out) {
  out.clear();
  if (!dpy || !gbk || !*gbk) return false;
  if (form == CommitCharset::kGb2312Only && !IsGb2312Text(gbk)) return false;
  const bool ok = form == CommitCharset::kGbkSegment ? GbkClientCompoundText(dpy, gbk, out)
                                                     : ServerLocaleCompoundText(dpy, gbk, out);
  if (!ok) out.clear();
  return ok;
}
