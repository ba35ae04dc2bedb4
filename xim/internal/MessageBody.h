// MessageBody.h: the two ends of coding one message body with its frame
// template. `Body` builds an outgoing body: set every size and count, then
// Allocate (a zeroed buffer of the template's total size) and put the fields.
// `BodyReader` reads an incoming body: bounded by the body's real length, with
// a sticky failure flag, so a handler reads every field and checks once.
//
// Ownership: a Body owns its buffer; a BodyReader borrows the message's bytes,
// and the byte arrays it hands out point into them.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "xim/internal/FrameMgr.h"
#include "xim/internal/Xi18nCore.h"

// The largest body a header can announce (65535 units of 4 bytes).
constexpr int kXimMaxBody = 4 * 0xffff;

// XIM_ERROR without a body: built on the stack, so it can always be sent.
inline void _Xi18nSendBareError(XIMS ims, uint16_t connect_id) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!core->methods.send || !_Xi18nFindClient(core, connect_id)) return;
  const uint8_t header[4] = {XIM_ERROR, 0, 0, 0};
  core->methods.send(ims, connect_id, header, 4);
}

class Body {
 public:
  Body(XimFrame frame, int byte_swap) { FrameMgrInitWithData(&m_fm, frame, nullptr, byte_swap); }
  ~Body() { std::free(m_buf); }
  Body(const Body&) = delete;
  Body& operator=(const Body&) = delete;

  FrameMgr Fm() { return &m_fm; }
  // Allocates once every size and count is set. False when a size is
  // missing, the body is too long for a header, or memory runs out.
  bool Allocate(int extra = 0) {
    const int total = FrameMgrGetTotalSize(&m_fm);
    if (total < 0 || total + extra > kXimMaxBody) return false;
    m_size = total + extra;
    m_buf = static_cast<uint8_t*>(std::calloc(1, static_cast<size_t>(m_size) + 1));
    if (!m_buf) return false;
    FrameMgrSetBuffer(&m_fm, m_buf);
    FrameMgrSetTotalSize(&m_fm, total);
    return true;
  }
  template <class T>
  void Put(T value) {
    FrameMgrPutToken(&m_fm, value);
  }
  uint8_t* Data() { return m_buf; }
  int Size() const { return m_size; }

 private:
  FrameMgrRec m_fm;
  uint8_t* m_buf = nullptr;
  int m_size = 0;
};

class BodyReader {
 public:
  // `body` (the message after its header) must outlive the reader.
  BodyReader(XimFrame frame, const uint8_t* body, int length, int byte_swap) {
    FrameMgrInitWithData(&m_fm, frame, const_cast<uint8_t*>(body ? body : kEmpty), byte_swap);
    FrameMgrSetTotalSize(&m_fm, length > 0 ? length : 0);
  }
  BodyReader(const BodyReader&) = delete;
  BodyReader& operator=(const BodyReader&) = delete;

  // Reads the next field; after the first failure nothing more is read and
  // the value is left as it was.
  template <class T>
  bool Get(T& value) {
    if (m_failed) return false;
    if (FrameMgrGetToken(&m_fm, value) != FmSuccess) m_failed = true;
    return !m_failed;
  }
  // Reads a byte array of `n` bytes: *p points into the body, null for 0.
  bool Bytes(int n, const uint8_t** p) {
    *p = nullptr;
    if (m_failed) return false;
    uint8_t* q = nullptr;
    if (FrameMgrSetSize(&m_fm, n) != FmSuccess || FrameMgrGetToken(&m_fm, q) != FmSuccess) {
      m_failed = true;
      return false;
    }
    *p = q;
    return true;
  }
  // True while the list at the current position has another element that
  // fits in the body.
  bool More() {
    if (m_failed) return false;
    FmStatus st = FmSuccess;
    const int end = FrameMgrIsIterLoopEnd(&m_fm, &st);
    if (st != FmSuccess) m_failed = true;
    return !end && !m_failed;
  }
  bool Failed() const { return m_failed; }

 private:
  static constexpr uint8_t kEmpty[1] = {0};
  FrameMgrRec m_fm;
  bool m_failed = false;
};
