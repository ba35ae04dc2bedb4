// XimGlue.h: the join between kvr's XIM server (xim/) and the rest of kvr.
//
// InitXIM opens the server on the main bar's window under the name from
// XMODIFIERS, with kvr's locales, its one input style, COMPOUND_TEXT and
// the trigger keys, and installs KVRProtoHandler. The handler keeps the
// input-context store, tracks the client window that has the focus and the
// reported spot location, sends every forwarded key to the main bar
// (message 9102, a direct call) and returns the keys the bar does not use,
// turns a trigger letter into message 9103 and, in English input, holds the
// client's keys back until the trigger letter's release so that they come
// back in order. The keys typed so far belong to one input context: when
// another takes the focus or sends keys, or when that context is reset or
// destroyed, they are dropped with their panes. SendStrToClient commits text in the form the
// client's locale decodes (frontend/CommitText.h).
//
// Everything runs on the program's one thread inside Xlib's event filters.
#pragma once

#include <cstdint>

#include "base/AArray.h"
#include "base/Geometry.h"
#include "xim/XimServer.h"

struct typFwdEventView;

extern XIMS ims;                 // the running server; null before and on failure
extern unsigned long gwinFocus;  // the client window with the focus; 0 none
extern int thisIcReportLoc;      // the last spot location lay inside the focus window
extern CPoint gptCaretPos;       // where the panes go, root coordinates
extern uint32_t justTriggeredAndHereIstheDownKey;  // the held trigger letter; 0 idle
extern AArray<IMForwardEventStruct, IMForwardEventStruct&>
    arrRecordedKeydownsBeforeTriggerKeyRelease;
extern uint32_t filter_mask;  // KeyPressMask | KeyReleaseMask

// Opens the server; 1 when it runs, 0 when it cannot be opened.
int InitXIM(int argc, char** argv, unsigned long serverWindow);

int KVRProtoHandler(XIMS ims, IMProtocol* call_data);
int XimOpenHandler(XIMS ims, IMOpenStruct* call_data);
int XimCloseHandler(XIMS ims, IMCloseStruct* call_data);
// A client gone: its input contexts leave the store, a holding its trigger
// started ends, and keys it left unfinished in the engine are dropped.
int XimDisconnectHandler(XIMS ims, IMDisConnectStruct* call_data);
int XimTriggerNotifyHandler(XIMS ims, IMTriggerNotifyStruct* call_data);
int XimCreateICHandler(XIMS ims, IMChangeICStruct* call_data);
int XimDestroyICHandler(XIMS ims, IMDestroyICStruct* call_data);
int XimSetICValuesHandler(XIMS ims, IMChangeICStruct* call_data);
int XimGetICValuesHandler(XIMS ims, IMChangeICStruct* call_data);
int XimSetFocusHandler(XIMS ims, IMChangeFocusStruct* call_data);
int XimUnsetFocusHandler(XIMS ims, IMChangeFocusStruct* call_data);
int XimForwardEventHandler(XIMS ims, IMForwardEventStruct* call_data);
int XimResetICHandler(XIMS ims, IMResetICStruct* call_data);
int XimPreeditStartReplyHandler(XIMS ims, IMProtocol* call_data);
int XimPreeditCaretReplyHandler(XIMS ims, IMProtocol* call_data);

// Where a forwarded key goes once the English-mode holding lets it pass:
// to the main bar, and back to the client when the bar does not use it.
// Tests put a recorder in its place to watch the holding; null restores
// the real delivery.
using ForwardedKeyDelivery = void (*)(XIMS ims, IMForwardEventStruct* rec);
void SetForwardedKeyDelivery(ForwardedKeyDelivery deliver);

// A key press that reached kvr outside the XIM transport (a key the engine
// grabbed): to the main bar as 9102; never sent back.
void MyXEventHandler(XEvent* event);

// Commits text (NUL-terminated GBK, Big5 while traditional output is on) to
// the connection and input context named in call_data. Nothing is sent
// when the text cannot be converted for the client. 1 sent, 0 not.
int SendStrToClient(XIMS ims, IMCommitStruct* call_data, const char* text);

// The engine's copy of a forwarded request, and the request rebuilt from
// it (the event's display is the server's).
void FwdEventToView(const IMForwardEventStruct& rec, typFwdEventView& view);
void FwdEventFromView(const typFwdEventView& view, IMForwardEventStruct& rec);

// The spot test of the glue: left and top inside, right and bottom outside.
bool SpotInside(const CRect& rect, int x, int y);
