// Xi18nCallbacks.cpp: the server-to-client callback messages (geometry,
// preedit and status drawing, string conversion), reached through
// IMCallCallback by the record's major code. An input method with
// over-the-spot preedit and no status area never needs them; they are here
// for one that draws in the client. The input-method id of each message is
// the connection id, as in every message the server starts.
#include <cstring>

#include "xim/internal/MessageBody.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nHandlers.h"
#include "xim/internal/XimFrames.h"

namespace {

// Status bits of a draw message.
constexpr uint32_t kNoString = 1;
constexpr uint32_t kNoFeedback = 2;

int Swap(XIMS ims, uint16_t connect_id) { return _Xi18nNeedSwap(Xi18nOf(ims), connect_id); }

int Send(XIMS ims, uint16_t connect_id, uint8_t major, Body& b) {
  return _Xi18nSendMessage(ims, connect_id, major, 0, b.Data(), b.Size());
}

int Refuse(XIMS ims, uint16_t connect_id) {
  _Xi18nSendBareError(ims, connect_id);
  return 0;
}

// A message of the two ids only.
int SendIds(XIMS ims, const IMProtocol* call_data, XimFrame frame) {
  const IMAnyStruct& any = call_data->any;
  const uint16_t icid = call_data->geometry_callback.icid;
  Body b(frame, Swap(ims, any.connect_id));
  if (!b.Allocate()) return Refuse(ims, any.connect_id);
  b.Put(any.connect_id);
  b.Put(icid);
  return Send(ims, any.connect_id, static_cast<uint8_t>(any.major_code), b);
}

int FeedbackCount(const uint32_t* feedback) {
  int n = 0;
  while (feedback && feedback[n] != 0 && n < 0xffff / 4) ++n;
  return n;
}

// A preedit or status draw: the ids, the leading 32-bit fields of its kind,
// then status, length, bytes, padding and the feedback list.
int SendDraw(XIMS ims, uint16_t connect_id, uint16_t icid, XimFrame frame, uint8_t major,
             const uint32_t* lead, int nLead, const IMPreeditDrawData& d) {
  const uint16_t length = d.string ? d.length : 0;
  const int nFeedback = FeedbackCount(d.feedback);
  Body b(frame, Swap(ims, connect_id));
  FrameMgrSetSize(b.Fm(), length);
  FrameMgrSetIterCount(b.Fm(), nFeedback);
  if (!b.Allocate()) return Refuse(ims, connect_id);
  b.Put(connect_id);
  b.Put(icid);
  for (int i = 0; i < nLead; ++i) b.Put(lead[i]);
  const uint32_t status = (length == 0 ? kNoString : 0) | (nFeedback == 0 ? kNoFeedback : 0);
  b.Put(status);
  b.Put(length);
  b.Put(d.string ? d.string : "");
  for (int i = 0; i < nFeedback; ++i) b.Put(d.feedback[i]);
  return Send(ims, connect_id, major, b);
}

int _Xi18nGeometryCallback(XIMS ims, IMProtocol* call_data) {
  return SendIds(ims, call_data, geometry_fr);
}

int _Xi18nPreeditStartCallback(XIMS ims, IMProtocol* call_data) {
  return SendIds(ims, call_data, preedit_start_fr);
}

int _Xi18nPreeditDoneCallback(XIMS ims, IMProtocol* call_data) {
  return SendIds(ims, call_data, preedit_done_fr);
}

int _Xi18nStatusStartCallback(XIMS ims, IMProtocol* call_data) {
  return SendIds(ims, call_data, status_start_fr);
}

int _Xi18nStatusDoneCallback(XIMS ims, IMProtocol* call_data) {
  return SendIds(ims, call_data, status_done_fr);
}

int _Xi18nPreeditDrawCallback(XIMS ims, IMProtocol* call_data) {
  const IMPreeditCBStruct& p = call_data->preedit_callback;
  const IMPreeditDrawData& d = p.todo.draw;
  const uint32_t lead[] = {static_cast<uint32_t>(d.caret), static_cast<uint32_t>(d.chg_first),
                           static_cast<uint32_t>(d.chg_length)};
  return SendDraw(ims, p.connect_id, p.icid, preedit_draw_fr, XIM_PREEDIT_DRAW, lead, 3, d);
}

int _Xi18nPreeditCaretCallback(XIMS ims, IMProtocol* call_data) {
  const IMPreeditCBStruct& p = call_data->preedit_callback;
  Body b(preedit_caret_fr, Swap(ims, p.connect_id));
  if (!b.Allocate()) return Refuse(ims, p.connect_id);
  b.Put(p.connect_id);
  b.Put(p.icid);
  b.Put(p.todo.caret.position);
  b.Put(p.todo.caret.direction);
  b.Put(p.todo.caret.style);
  return Send(ims, p.connect_id, XIM_PREEDIT_CARET, b);
}

int _Xi18nStatusDrawCallback(XIMS ims, IMProtocol* call_data) {
  const IMStatusCBStruct& s = call_data->status_callback;
  const int swap = Swap(ims, s.connect_id);
  if (s.type == 1) {
    Body b(status_draw_bitmap_fr, swap);
    if (!b.Allocate()) return Refuse(ims, s.connect_id);
    b.Put(s.connect_id);
    b.Put(s.icid);
    b.Put(s.type);
    b.Put(s.todo.bitmap);
    return Send(ims, s.connect_id, XIM_STATUS_DRAW, b);
  }
  const uint32_t lead[] = {0};  // type: text
  return SendDraw(ims, s.connect_id, s.icid, status_draw_text_fr, XIM_STATUS_DRAW, lead, 1,
                  s.todo.text);
}

int _Xi18nStringConversionCallback(XIMS ims, IMProtocol* call_data) {
  const IMStrConvCBStruct& s = call_data->strconv_callback;
  Body b(str_conversion_fr, Swap(ims, s.connect_id));
  if (!b.Allocate()) return Refuse(ims, s.connect_id);
  b.Put(s.connect_id);
  b.Put(s.icid);
  b.Put(s.position);
  b.Put(s.direction);
  b.Put(s.operation);
  if (!Send(ims, s.connect_id, XIM_STR_CONVERSION, b)) return 0;
  Xi18nCore* core = Xi18nOf(ims);
  if (!core->methods.wait) return 0;
  return core->methods.wait(ims, s.connect_id, XIM_STR_CONVERSION_REPLY, 0);
}

}  // namespace

void _Xi18nInstallCallbackProcs(Xi18nCallbackProc callbacks[256]) {
  callbacks[XIM_GEOMETRY] = _Xi18nGeometryCallback;
  callbacks[XIM_STR_CONVERSION] = _Xi18nStringConversionCallback;
  callbacks[XIM_PREEDIT_START] = _Xi18nPreeditStartCallback;
  callbacks[XIM_PREEDIT_DRAW] = _Xi18nPreeditDrawCallback;
  callbacks[XIM_PREEDIT_CARET] = _Xi18nPreeditCaretCallback;
  callbacks[XIM_PREEDIT_DONE] = _Xi18nPreeditDoneCallback;
  callbacks[XIM_STATUS_START] = _Xi18nStatusStartCallback;
  callbacks[XIM_STATUS_DRAW] = _Xi18nStatusDrawCallback;
  callbacks[XIM_STATUS_DONE] = _Xi18nStatusDoneCallback;
}
