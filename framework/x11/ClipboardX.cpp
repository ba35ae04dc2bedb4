#include "framework/x11/ClipboardX.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/Clipboard.h"
#include "framework/SysUtil.h"
#include "framework/internal/KernelHooks.h"

CString g_myClipboardStr;
unsigned long atmClpbrd = 0, atmTgts = 0, atmSlctnDat = 0, atmUtf8 = 0, atmStrg = 0, atmTxt = 0,
              atmCmpndTxt = 0;

namespace {

// How long a paste waits for the owner's answer, in polls of 4 ms. An owner
// that does not answer at all costs this much; one that refuses, or no
// owner, answers at once. A busy owner (or a loaded machine) can take far
// longer than a few polls, and a paste that gives up early is lost.
constexpr int kAnswerPolls = 125;
constexpr useconds_t kAnswerPollUs = 4000;

unsigned long MainWindow() { return uniqueAFCAppPointer ? uniqueAFCAppPointer->m_hMainWnd : 0; }

// A NUL-terminated copy in a new[] buffer: callers free every text this
// file hands out with delete[].
char* NewCopy(const char* bytes, size_t n) {
  char* copy = new char[n + 1];
  std::memcpy(copy, bytes, n);
  copy[n] = '\0';
  return copy;
}

int HasText() { return g_myClipboardStr.IsEmpty() ? 0 : 1; }
int Serve(XEvent* event) { return ProcessSelectionRequest(&event->xselectionrequest); }

[[maybe_unused]] const bool g_hooksInstalled = [] {
  afc::KernelHooks hooks = afc::GetKernelHooks();
  hooks.init = &ClpbrdInit;
  hooks.hasText = &HasText;
  hooks.serveRequest = &Serve;
  hooks.clear = &ClearMyClipboard;
  afc::SetKernelHooks(hooks);
  return true;
}();

}  // namespace

void ClpbrdInit() {
  if (!dsply) return;
  atmClpbrd = XInternAtom(dsply, "CLIPBOARD", False);
  atmTgts = XInternAtom(dsply, "TARGETS", False);
  atmSlctnDat = XInternAtom(dsply, "SELECTION_DATA", False);
  atmUtf8 = XInternAtom(dsply, "UTF8_STRING", False);
  atmStrg = XA_STRING;
  atmTxt = XInternAtom(dsply, "TEXT", False);
  atmCmpndTxt = XInternAtom(dsply, "COMPOUND_TEXT", False);
}

unsigned long ClpbrdAtom() {
  if (!atmClpbrd && dsply) atmClpbrd = XInternAtom(dsply, "CLIPBOARD", False);
  return atmClpbrd ? atmClpbrd : 1;
}

int SetClipbrdText(char* text, int) {
  const unsigned long mainWin = MainWindow();
  if (!dsply || !mainWin || !text) return 0;
  XSetSelectionOwner(dsply, ClpbrdAtom(), mainWin, CurrentTime);
  if (XGetSelectionOwner(dsply, ClpbrdAtom()) != mainWin) return 0;
  g_myClipboardStr = text;
  return 1;
}

int GetClipbrdText(char** out, int) {
  if (!out) return 0;
  if (GetSelectionText(ClpbrdAtom(), atmUtf8, out)) return 1;
  return GetSelectionText(ClpbrdAtom(), atmStrg, out);
}

int AskForSelectionData(unsigned long selection, unsigned long target, XEvent* answer) {
  const unsigned long mainWin = MainWindow();
  if (!dsply || !mainWin || !answer) return 0;
  XConvertSelection(dsply, selection, target, atmSlctnDat, mainWin, CurrentTime);
  XFlush(dsply);
  bool came = false;
  for (int i = 0; i < kAnswerPolls; ++i) {
    // An answer to an earlier request that gave up (another target) is
    // dropped, so it is never read as this one's.
    while (XCheckTypedWindowEvent(dsply, mainWin, SelectionNotify, answer)) {
      if (answer->xselection.selection == ClpbrdAtom() && answer->xselection.target == target) {
        came = true;
        break;
      }
    }
    if (came) break;
    usleep(kAnswerPollUs);
  }
  return came && answer->xselection.property != None ? 1 : 0;
}

int GetSelectionText(unsigned long selection, unsigned long target, char** out) {
  const unsigned long mainWin = MainWindow();
  if (!dsply || !out || !mainWin) return 0;
  if (XGetSelectionOwner(dsply, selection) == mainWin) {
    *out = NewCopy(g_myClipboardStr, static_cast<size_t>(g_myClipboardStr.GetLength()));
    return 1;
  }
  XEvent answer;
  if (!AskForSelectionData(selection, target, &answer)) return 0;
  Atom type = None;
  int format = 0;
  unsigned long nItems = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dsply, mainWin, answer.xselection.property, 0, 0x1FFFFFFF, False,
                         AnyPropertyType, &type, &format, &nItems, &after, &data) != Success ||
      !data)
    return 0;
  const Atom incr = XInternAtom(dsply, "INCR", False);
  int result = 0;
  if (type == incr) {
    // The owner would send the text in pieces; what the property holds now
    // is only a size, not text.
    std::fprintf(stderr, "clipboard: the owner offers the text in pieces (INCR); not pasted\n");
  } else if (format != 8) {
    std::fprintf(stderr, "clipboard: the owner answered with %d-bit items, not text\n", format);
  } else if (nItems > 0) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (target == atmUtf8) {
      long nBytes = 0;
      CString gbk = Utf8ToGBK(const_cast<char*>(bytes), nullptr, &nBytes);
      *out = NewCopy(gbk, static_cast<size_t>(gbk.GetLength()));
    } else {
      *out = NewCopy(bytes, nItems);
    }
    result = 1;
  }
  XFree(data);
  return result;
}

int ProcessSelectionRequest(XSelectionRequestEvent* request) {
  if (!request || !dsply) return 0;
  std::fprintf(stderr, "prop:%i tar:%i sel:%i\n", static_cast<int>(request->property),
               static_cast<int>(request->target), static_cast<int>(request->selection));
  // An old client may name no property; the target then names it.
  const Atom property = request->property != None ? request->property : request->target;
  Atom answered = None;
  if (request->target == atmUtf8) {
    long nBytes = 0;
    CString utf8 =
        GBKToUtf8(const_cast<char*>(static_cast<const char*>(g_myClipboardStr)), nullptr, &nBytes);
    XChangeProperty(dsply, request->requestor, property, request->target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(static_cast<const char*>(utf8)),
                    utf8.GetLength());
    answered = property;
  } else if (request->target == atmStrg) {
    XChangeProperty(
        dsply, request->requestor, property, request->target, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(static_cast<const char*>(g_myClipboardStr)),
        g_myClipboardStr.GetLength());
    answered = property;
  }
  XEvent ev{};
  XSelectionEvent& notify = ev.xselection;
  notify.type = SelectionNotify;
  notify.display = dsply;
  notify.requestor = request->requestor;
  notify.selection = request->selection;
  notify.target = request->target;
  notify.property = answered;
  notify.time = request->time;
  XSendEvent(dsply, request->requestor, False, NoEventMask, &ev);
  XFlush(dsply);
  return answered != None ? 1 : 0;
}

int ClearMyClipboard() {
  const int had = HasText();
  g_myClipboardStr.Empty();
  return had;
}
