// The COMPOUND_TEXT conversion of committed text through Xlib.
#include "frontend/CommitText.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool GbkToCompoundText(_XDisplay* dpy, const char* gbk, CommitCharset form, std::string& out) {
  out.clear();
  if (!dpy || !gbk || !*gbk) return false;
  if (form == CommitCharset::kGb2312Only && !IsGb2312Text(gbk)) return false;
  if (form == CommitCharset::kGbkSegment) return GbkToGbkSegments(gbk, out);
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
