// The XIM glue: server start, request handlers, key forwarding and commits.
#include "frontend/XimGlue.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/WinGeometry.h"
#include "frontend/BarKeys.h"
#include "frontend/CommitText.h"
#include "frontend/MainBar.h"
#include "frontend/XimNaming.h"
#include "xim/ICStore.h"

XIMS ims = nullptr;
unsigned long gwinFocus = 0;
int thisIcReportLoc = 0;
CPoint gptCaretPos;
uint32_t justTriggeredAndHereIstheDownKey = 0;
AArray<IMForwardEventStruct, IMForwardEventStruct&> arrRecordedKeydownsBeforeTriggerKeyRelease;
uint32_t filter_mask = KeyPressMask | KeyReleaseMask;

namespace {

// The on-keys: the letters with any modifiers, Ctrl+Space, Control_L,
// Alt_L, F1 and F10.
constexpr int kTriggerRows = 31;
constexpr int kLetterRows = 26;
XIMTriggerKey Trigger_Keys[kTriggerRows + 1];

void FillTriggerKeys() {
  for (int i = 0; i < kLetterRows; ++i) Trigger_Keys[i] = {static_cast<uint32_t>('a' + i), 0, 0};
  Trigger_Keys[26] = {0x20, ControlMask, ControlMask};
  Trigger_Keys[27] = {0xffe3, 0, 0};
  Trigger_Keys[28] = {0xffe9, 0, 0};
  Trigger_Keys[29] = {0xffbe, 0, 0};
  Trigger_Keys[30] = {0xffc7, 0, 0};
  Trigger_Keys[31] = {0, 0, 0};
}

// The table is complete before anything runs, so a trigger notify reads it
// whether or not the server has been opened.
const bool g_triggerKeysFilled = (FillTriggerKeys(), true);

char kCompoundText[] = "COMPOUND_TEXT";
char* g_encodingNames[1] = {kCompoundText};

// The form each connection's commits take, from the locale it opened with.
std::map<uint16_t, CommitCharset> g_connForm;
// Whether LC_CTYPE is GB18030, which the commit conversion needs.
bool g_commitLocaleOk = false;

bool IsUsableFocus(unsigned long w) { return w != None && w != PointerRoot; }

}  // namespace

bool SpotInside(const CRect& rect, int x, int y) {
  // PtInRect counts every edge as inside; the spot test counts the right
  // and bottom edges as outside.
  const tagRECT inner{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  return PtInRect(&inner, POINT{x, y});
}

void FwdEventToView(const IMForwardEventStruct& rec, typFwdEventView& v) {
  v.connect_id = rec.connect_id;
  v.icid = rec.icid;
  v.sync_bit = rec.sync_bit;
  v.serial_number = rec.serial_number;
  const XKeyEvent& k = rec.event.xkey;
  v.event.type = k.type;
  v.event.serial = static_cast<uint32_t>(k.serial);
  v.event.send_event = k.send_event;
  v.event.window = static_cast<uint32_t>(k.window);
  v.event.root = static_cast<uint32_t>(k.root);
  v.event.subwindow = static_cast<uint32_t>(k.subwindow);
  v.event.time = static_cast<uint32_t>(k.time);
  v.event.x = k.x;
  v.event.y = k.y;
  v.event.x_root = k.x_root;
  v.event.y_root = k.y_root;
  v.event.state = k.state;
  v.event.keycode = k.keycode;
  v.event.same_screen = k.same_screen;
}

void FwdEventFromView(const typFwdEventView& v, IMForwardEventStruct& rec) {
  std::memset(&rec, 0, sizeof rec);
  rec.major_code = XIM_FORWARD_EVENT;
  rec.connect_id = v.connect_id;
  rec.icid = v.icid;
  rec.sync_bit = v.sync_bit;
  rec.serial_number = v.serial_number;
  XKeyEvent& k = rec.event.xkey;
  k.type = v.event.type;
  k.serial = v.event.serial;
  k.send_event = v.event.send_event;
  k.display = ims ? ims->core.display : dsply;
  k.window = v.event.window;
  k.root = v.event.root;
  k.subwindow = v.event.subwindow;
  k.time = v.event.time;
  k.x = v.event.x;
  k.y = v.event.y;
  k.x_root = v.event.x_root;
  k.y_root = v.event.y_root;
  k.state = v.event.state;
  k.keycode = v.event.keycode;
  k.same_screen = v.event.same_screen;
}

int InitXIM(int, char**, unsigned long serverWindow) {
  // 1. The server's name.
  CString name = XimNameFromModifiers(std::getenv("XMODIFIERS"));
  if (name.IsEmpty()) {
    name = kDefaultXimName;
    CString modifiers;
    modifiers.Format("@im=%s", kDefaultXimName);
    const int r = setenv("XMODIFIERS", modifiers, 1);
    XSetLocaleModifiers(modifiers);
    std::fprintf(stderr, "Set XMODIFIERS=%s:%d.\n", kDefaultXimName, r);
  }
  // 2, 3. Styles, encodings, transport.
  XIMStyles styles{};
  XIMStyle style = XIMPreeditPosition | XIMStatusNothing;
  styles.count_styles = 1;
  styles.supported_styles = &style;
  XIMEncodings encodings{1, g_encodingNames};
  // 4. Locales.
  const CString locales = XimLocaleList(gszSysLocal);
  // 5. The commit conversion reads the engine's text as GB18030.
  g_commitLocaleOk = std::setlocale(LC_CTYPE, "zh_CN.GB18030") != nullptr;
  if (!g_commitLocaleOk) {
    std::fprintf(stderr, "kvr: the locale zh_CN.GB18030 is missing; only ASCII can be committed\n");
  }
  // 6, 7.
  ims = IMOpenIM(dsply, IMModifiers, "Xi18n", IMServerWindow, static_cast<Window>(serverWindow),
                 IMServerName, static_cast<const char*>(name), IMLocale,
                 static_cast<const char*>(locales), IMServerTransport, "X/", IMInputStyles, &styles,
                 nullptr);
  if (!ims) {
    std::fprintf(stderr, "已经存在另一个同名服务程序，因而无法启动输入服务 %s\n",
                 static_cast<const char*>(name));
    return 0;
  }
  // 8. Trigger keys, encodings, handler, filter mask.
  XIMTriggerKeys onKeys{kTriggerRows, Trigger_Keys};
  (void)IMSetIMValues(ims, IMOnKeysList, &onKeys, nullptr);
  (void)IMSetIMValues(ims, IMEncodingList, &encodings, IMProtocolHandler, &KVRProtoHandler,
                      IMFilterEventMask, filter_mask, nullptr);
  return 1;
}

int KVRProtoHandler(XIMS im, IMProtocol* call_data) {
  switch (call_data->major_code) {
    case XIM_OPEN: return XimOpenHandler(im, &call_data->imopen);
    case XIM_CLOSE: return XimCloseHandler(im, &call_data->imclose);
    case XIM_DISCONNECT: return XimDisconnectHandler(im, &call_data->imdisconnect);
    case XIM_TRIGGER_NOTIFY: return XimTriggerNotifyHandler(im, &call_data->triggernotify);
    case XIM_CREATE_IC: return XimCreateICHandler(im, &call_data->changeic);
    case XIM_DESTROY_IC: return XimDestroyICHandler(im, &call_data->destroyic);
    case XIM_SET_IC_VALUES: return XimSetICValuesHandler(im, &call_data->changeic);
    case XIM_GET_IC_VALUES: return XimGetICValuesHandler(im, &call_data->changeic);
    case XIM_SET_IC_FOCUS: return XimSetFocusHandler(im, &call_data->changefocus);
    case XIM_UNSET_IC_FOCUS: return XimUnsetFocusHandler(im, &call_data->changefocus);
    case XIM_FORWARD_EVENT: return XimForwardEventHandler(im, &call_data->forwardevent);
    case XIM_RESET_IC: return XimResetICHandler(im, &call_data->resetic);
    case XIM_PREEDIT_START_REPLY: return XimPreeditStartReplyHandler(im, call_data);
    case XIM_PREEDIT_CARET_REPLY: return XimPreeditCaretReplyHandler(im, call_data);
    default: return 1;
  }
}

int XimOpenHandler(XIMS, IMOpenStruct* call_data) {
  std::string lang;
  if (call_data->lang.name && call_data->lang.length > 0) {
    lang.assign(call_data->lang.name, static_cast<size_t>(call_data->lang.length));
  }
  g_connForm[call_data->connect_id] = CommitCharsetOfLocale(lang.c_str());
  return 1;
}

int XimCloseHandler(XIMS, IMCloseStruct* call_data) {
  g_connForm.erase(call_data->connect_id);
  return 1;
}

namespace {
// The connection whose trigger started the English-mode holding.
uint16_t g_holdingConnection = 0;

// The input context the keys typed so far belong to (connection 0: none
// yet). Keys half typed for one context must never be finished, committed
// or shown for another: the engine holds one input, not one per context.
struct InputOwner {
  uint16_t connect = 0;
  uint16_t ic = 0;
};
InputOwner g_inputOwner;
// The context that last took the focus (connection 0: none, or it lost it).
InputOwner g_focusOwner;

bool IsFocusOwner(uint16_t connect, uint16_t ic) {
  return g_focusOwner.connect == connect && g_focusOwner.ic == ic;
}

bool IsInputOwner(uint16_t connect, uint16_t ic) {
  return g_inputOwner.connect == connect && g_inputOwner.ic == ic;
}

// Keys now come from (connect, ic): what was half typed for another context
// is dropped, with its panes.
void InputMovesTo(uint16_t connect, uint16_t ic) {
  if (g_inputOwner.connect != 0 && !IsInputOwner(connect, ic))
    GetBarEngineOps().resetChnInput(1, 0, 0);
  g_inputOwner = {connect, ic};
}

// The context the input belongs to was reset or went away: its half-typed
// keys go with it.
void DropInputOf(uint16_t connect, uint16_t ic) {
  if (g_inputOwner.connect == 0 || !IsInputOwner(connect, ic)) return;
  GetBarEngineOps().resetChnInput(1, 0, 0);
  g_inputOwner = {};
}
}  // namespace

int XimDisconnectHandler(XIMS, IMDisConnectStruct* call_data) {
  const uint16_t id = call_data->connect_id;
  // The contexts of a client that is gone (killed, or its window destroyed)
  // leave the store with it.
  DeleteClientICs(id);
  g_connForm.erase(id);
  if (g_focusOwner.connect == id) g_focusOwner = {};
  if (justTriggeredAndHereIstheDownKey != 0 && g_holdingConnection == id) {
    justTriggeredAndHereIstheDownKey = 0;
    arrRecordedKeydownsBeforeTriggerKeyRelease.RemoveAll();
  }
  // Keys it typed and did not finish belong to no one now: they must not
  // become part of the next client's text.
  if (dictionary.m_fwdEvent.connect_id == id || g_inputOwner.connect == id) {
    GetBarEngineOps().resetChnInput(1, 0, 0);
    dictionary.m_fwdEvent.connect_id = 0;
    gwinFocus = 0;
    g_inputOwner = {};
  }
  return 1;
}

int XimCreateICHandler(XIMS, IMChangeICStruct* call_data) { return CreateIC(call_data) ? 1 : 0; }

int XimDestroyICHandler(XIMS, IMDestroyICStruct* call_data) {
  gwinFocus = 0;
  DropInputOf(call_data->connect_id, call_data->icid);
  if (IsFocusOwner(call_data->connect_id, call_data->icid)) g_focusOwner = {};
  (void)DestroyIC(call_data);
  return 1;
}

int XimGetICValuesHandler(XIMS, IMChangeICStruct* call_data) {
  (void)GetIC(call_data);
  return 1;
}

namespace {

// The window a context's spot location is given in: its focus window, else
// its client window; 0 when the context is unknown.
Window SpotWindowOf(uint16_t connect, uint16_t ic) {
  const IC* rec = FindIC(ic);
  if (!rec || rec->connect_id != connect) return 0;
  return rec->focus_win ? rec->focus_win : rec->client_win;
}

// Places the panes' point at a spot given in window w: the root point when
// it lies inside w, else w's bottom-left corner. False, with nothing
// changed, when w is gone or not shown.
bool PlaceAtSpot(Window w, int16_t sx, int16_t sy) {
  Window child = None;
  int rx = 0, ry = 0;
  CRect rect;
  if (!IsUsableFocus(w) || !IsWinShown(w) ||
      !XTranslateCoordinates(dsply, w, RootWindow(dsply, scrn), sx, sy, &rx, &ry, &child) ||
      !GetWinRect(w, &rect)) {
    return false;
  }
  gptCaretPos = CPoint(rx < 0 ? 0 : rx, ry < 0 ? 0 : ry);
  if (SpotInside(rect, gptCaretPos.x, gptCaretPos.y)) {
    thisIcReportLoc = 1;
  } else {
    gptCaretPos = CPoint(rect.left, rect.bottom);
    thisIcReportLoc = 0;
  }
  return true;
}

}  // namespace

int XimSetICValuesHandler(XIMS, IMChangeICStruct* call_data) {
  (void)SetIC(call_data);
  if (!cfgInputManager.useFloatPromptPane) return 1;
  // The caret of a context without the focus (a terminal that prints in the
  // background) is kept for its next focus; the panes stay where they are.
  if (g_focusOwner.connect != 0 && !IsFocusOwner(call_data->connect_id, call_data->icid)) return 1;
  // The spot is in the context's own window; the window of the last key
  // may be another client's.
  Window w = SpotWindowOf(call_data->connect_id, call_data->icid);
  if (!w) w = gwinFocus;
  for (int i = 0; i < call_data->preedit_attr_num; ++i) {
    const XICAttribute& a = call_data->preedit_attr[i];
    if (!a.name || std::strcmp(a.name, "spotLocation") != 0) continue;
    if (!a.value || a.value_length < 4) continue;
    int16_t sx, sy;
    std::memcpy(&sx, a.value, 2);
    std::memcpy(&sy, static_cast<const char*>(a.value) + 2, 2);
    const bool placed = PlaceAtSpot(w, sx, sy);
    EngineHost().SetKeyPane();
    if (!placed) return 1;
  }
  return 1;
}

int XimSetFocusHandler(XIMS, IMChangeFocusStruct* call_data) {
  UnGrabSomeKeys();
  InputMovesTo(call_data->connect_id, call_data->icid);
  g_focusOwner = {call_data->connect_id, call_data->icid};
  thisIcReportLoc = 0;
  // The panes start where this context last reported its caret (an
  // over-the-spot client reports it when it moves, not when it regains
  // the focus).
  const IC* ic = FindIC(call_data->icid);
  const Window w = SpotWindowOf(call_data->connect_id, call_data->icid);
  if (ic && IsUsableFocus(w)) {
    gwinFocus = w;
    // (0, 0) is what a context holds that never reported a spot.
    const XPoint spot = ic->pre_attr.spot_location;
    if ((ic->input_style & XIMPreeditPosition) && (spot.x != 0 || spot.y != 0))
      (void)PlaceAtSpot(w, spot.x, spot.y);
  }
  if (cfgInputManager.useFloatPromptPane) EngineHost().SetKeyPane();
  GetBarEngineOps().doThingsAtLoseActive();
  return 1;
}

int XimUnsetFocusHandler(XIMS, IMChangeFocusStruct* call_data) {
  UnGrabSomeKeys();
  // A client's focus-out may come after the next client's focus-in: it must
  // not undo where the panes go for the context that has the focus now.
  if (g_focusOwner.connect == 0 || IsFocusOwner(call_data->connect_id, call_data->icid)) {
    thisIcReportLoc = 0;
    g_focusOwner = {};
  }
  return 1;
}

int XimResetICHandler(XIMS, IMResetICStruct* call_data) {
  // The client has ended its input (a text field cleared, a form sent):
  // keys half typed for it are dropped, and nothing is handed back, since
  // they are keys, not text.
  DropInputOf(call_data->connect_id, call_data->icid);
  call_data->commit_string = nullptr;
  call_data->length = 0;
  return 1;
}

int XimPreeditStartReplyHandler(XIMS, IMProtocol*) { return 1; }
int XimPreeditCaretReplyHandler(XIMS, IMProtocol*) { return 1; }

namespace {

// Steps 1 to 3 of a forwarded key: to the bar, back to the client when the
// bar does not use it.
void DeliverForwardedKey(XIMS im, IMForwardEventStruct* rec) {
  gwinFocus = rec->event.xkey.window;
  FwdEventToView(*rec, dictionary.m_fwdEvent);
  XKeyEvent* key = &rec->event.xkey;
  const int used = SendWinEvent(ghMainePane, WM_KVR_KEY, reinterpret_cast<unsigned long>(key),
                                reinterpret_cast<unsigned long>(im));
  if (!used) IMForwardEvent(im, rec);
}

ForwardedKeyDelivery g_deliver = DeliverForwardedKey;

// The lowered first character of a key's text, 0 for none.
int LoweredKeyChar(XKeyEvent* key) {
  char text[32] = "";
  KeySym sym = 0;
  const int n = XLookupString(key, text, sizeof text - 1, &sym, nullptr);
  if (n <= 0) return 0;
  return std::tolower(static_cast<unsigned char>(text[0]));
}

}  // namespace

void SetForwardedKeyDelivery(ForwardedKeyDelivery deliver) {
  g_deliver = deliver ? deliver : DeliverForwardedKey;
}

int XimForwardEventHandler(XIMS im, IMForwardEventStruct* call_data) {
  if (!call_data->event.xkey.display) call_data->event.xkey.display = im->core.display;
  InputMovesTo(call_data->connect_id, call_data->icid);
  if (justTriggeredAndHereIstheDownKey == 0) {
    g_deliver(im, call_data);
    return 1;
  }
  AArray<IMForwardEventStruct, IMForwardEventStruct&>& held =
      arrRecordedKeydownsBeforeTriggerKeyRelease;
  const int type = call_data->event.type;
  if (type == KeyPress) {
    held.Add(*call_data);
    return 1;
  }
  if (type != KeyRelease) return 1;
  const int held_letter = std::tolower(static_cast<int>(justTriggeredAndHereIstheDownKey & 0xFF));
  const int c = LoweredKeyChar(&call_data->event.xkey);
  if (!(c != 0 && c == held_letter) && held.GetSize() <= 9) {
    held.Add(*call_data);
    return 1;
  }
  // The release ends the holding: it goes on as a press and a release of
  // its own key, then the held events follow in order.
  justTriggeredAndHereIstheDownKey = 0;
  call_data->event.type = KeyPress;
  g_deliver(im, call_data);
  call_data->event.type = KeyRelease;
  g_deliver(im, call_data);
  // Copy first: a replayed key may start a new holding that empties the list.
  AArray<IMForwardEventStruct, IMForwardEventStruct&> replay;
  replay.Copy(held);
  for (int i = 0; i < replay.GetSize(); ++i) g_deliver(im, &replay[i]);
  return 1;
}

int XimTriggerNotifyHandler(XIMS im, IMTriggerNotifyStruct* call_data) {
  if (call_data->flag != 0) return 0;
  arrRecordedKeydownsBeforeTriggerKeyRelease.RemoveAll();
  g_holdingConnection = call_data->connect_id;
  InputMovesTo(call_data->connect_id, call_data->icid);
  const uint32_t row = call_data->key_index / 3;
  if (row >= static_cast<uint32_t>(kLetterRows)) return 1;
  const uint32_t sym = Trigger_Keys[row].keysym;
  justTriggeredAndHereIstheDownKey = cfgInputManager.InputMode == kEnglishInput ? sym : 0;
  XEvent ev;
  std::memset(&ev, 0, sizeof ev);
  ev.xkey.type = KeyPress;
  ev.xkey.display = im->core.display;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(im->core.display, &focus, &revert);
  gwinFocus = IsUsableFocus(focus) ? focus : 0;
  ev.xkey.window = gwinFocus;
  ev.xkey.keycode = sym;
  ev.xkey.same_screen = True;
  SendWinEvent(ghMainePane, WM_KVR_TRIGGER, reinterpret_cast<unsigned long>(&ev.xkey),
               reinterpret_cast<unsigned long>(im));
  return 1;
}

void MyXEventHandler(XEvent* event) {
  if (!event || event->type != KeyPress) return;
  SendWinEvent(ghMainePane, WM_KVR_KEY, reinterpret_cast<unsigned long>(&event->xkey),
               reinterpret_cast<unsigned long>(ims));
}

int SendStrToClient(XIMS im, IMCommitStruct* call_data, const char* text) {
  if (!im || !call_data || !text || !*text) return 0;
  std::string gbk;
  if (!CommitGbk(text, cfgInputManager.FanTi != 0, gbk)) {
    EngineDiag("kvr: a traditional commit has no GBK form; nothing sent");
    return 0;
  }
  bool ascii = true;
  for (unsigned char c : gbk) ascii = ascii && c < 0x80;
  if (!g_commitLocaleOk && !ascii) return 0;
  const auto it = g_connForm.find(call_data->connect_id);
  const CommitCharset form = it == g_connForm.end() ? CommitCharset::kWide : it->second;
  std::string ct;
  if (!GbkToCompoundText(im->core.display, gbk.c_str(), form, ct)) {
    EngineDiag("kvr: text cannot be converted for the client's locale; nothing sent");
    return 0;
  }
  call_data->major_code = XIM_COMMIT;
  call_data->flag = XimLookupChars;
  call_data->commit_string = &ct[0];
  const int ok = IMCommitString(im, call_data);
  call_data->commit_string = nullptr;
  return ok;
}
