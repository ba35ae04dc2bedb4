// XimServer.cpp: the public calls, each a thin step into the server's
// method table.
#include "xim/XimServer.h"

#include <cstring>
#include <new>

namespace {

const char* FindModifiers(const XIMArg* args) {
  for (const XIMArg* a = args; a && a->name; ++a) {
    if (std::strcmp(a->name, IMModifiers) == 0) return reinterpret_cast<const char*>(a->value);
  }
  return nullptr;
}

}  // namespace

XIMS IMOpenIMList(Display* dpy, const XIMArg* args) {
  if (!dpy) return nullptr;
  const char* modifiers = FindModifiers(args);
  if (modifiers && *modifiers && std::strcmp(modifiers, "Xi18n") != 0) return nullptr;
  XIMS ims = new (std::nothrow) _XIMS{};
  if (!ims) return nullptr;
  ims->methods = &Xi18n_im_methods;
  ims->core.display = dpy;
  ims->protocol = static_cast<Xi18nCore*>(ims->methods->setup(dpy, args));
  if (!ims->protocol || !ims->methods->openIM(ims)) {
    delete ims;
    return nullptr;
  }
  return ims;
}

const char* IMSetIMValuesList(XIMS ims, const XIMArg* args) {
  return ims->methods->setIMValues(ims, args);
}

const char* IMGetIMValuesList(XIMS ims, const XIMArg* args) {
  return ims->methods->getIMValues(ims, args);
}

int IMCloseIM(XIMS ims) {
  if (!ims) return 1;
  ims->methods->closeIM(ims);
  delete ims;
  return 1;
}

int IMForwardEvent(XIMS ims, IMForwardEventStruct* call_data) {
  return ims->methods->forwardEvent(ims, call_data);
}

int IMCommitString(XIMS ims, IMCommitStruct* call_data) {
  return ims->methods->commitString(ims, call_data);
}

int IMCallCallback(XIMS ims, IMProtocol* call_data) {
  return ims->methods->callCallback(ims, call_data);
}

int IMPreeditStart(XIMS ims, IMProtocol* call_data) {
  return ims->methods->preeditStart(ims, call_data);
}

int IMPreeditEnd(XIMS ims, IMProtocol* call_data) {
  return ims->methods->preeditEnd(ims, call_data);
}

int IMSyncXlib(XIMS ims, IMProtocol* call_data) { return ims->methods->syncXlib(ims, call_data); }
