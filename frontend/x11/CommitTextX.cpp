// The COMPOUND_TEXT conversion of committed text through Xlib.
#include "frontend/CommitText.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "base/GbkBytes.h"

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
  return gbk::ForEachRun(gbk, [dpy, &out](const char* run, size_t n, bool doubleByte) {
    if (!doubleByte) {
      out.append(run, n);
      return true;
    }
    const std::string chinese(run, n);
    std::string segments, standard;
    if (!GbkToGbkSegments(chinese.c_str(), segments) ||
        !ServerLocaleCompoundText(dpy, chinese.c_str(), standard)) {
      return false;
    }
    out += segments;
    out += standard;
    out += "\x1b(B";
    return true;
  });
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
