// FrameDecoders.h: decoders of protocol messages written the way the
// server's message handlers read them (lengths, FrameMgrSetSize, loops
// ended by FrameMgrIsIterLoopEnd). Each returns a text of what it read, or
// "error ..." at the first refusal, so tests compare one string and the
// fuzz table only needs them to end without a fault.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "xim/internal/FrameMgr.h"
#include "xim/internal/XimFrames.h"

namespace ximtest {

// Runs `body` over a copy of `bytes` in a heap block of exactly that size,
// so that any read past the end is a sanitizer fault.
class Decoder {
 public:
  Decoder(XimFrame frame, const std::vector<uint8_t>& bytes, int swap)
      : m_buf(new uint8_t[bytes.empty() ? 1 : bytes.size()]) {
    if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), m_buf.get());
    m_fm = FrameMgrInit(frame, m_buf.get(), swap);
    FrameMgrSetTotalSize(m_fm, static_cast<int>(bytes.size()));
  }
  ~Decoder() { FrameMgrFree(m_fm); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  template <class T>
  bool Get(T& v) {
    const FmStatus st = FrameMgrGetToken(m_fm, v);
    if (st != FmSuccess) Fail("get", st);
    return st == FmSuccess;
  }
  bool Bytes(int n, std::string* out) {
    if (FrameMgrSetSize(m_fm, n) != FmSuccess) {
      Fail("size", FmNoMoreData);
      return false;
    }
    char* p = nullptr;
    if (!Get(p)) return false;
    out->assign(p ? p : "", p ? static_cast<size_t>(n) : 0);
    return true;
  }
  // True while the list at the current position has another element.
  bool More() {
    if (++m_loops > 100000) {
      Fail("endless", FmSuccess);
      return false;
    }
    FmStatus st;
    const int end = FrameMgrIsIterLoopEnd(m_fm, &st);
    if (st != FmSuccess) Fail("loop-end", st);
    return !end && st == FmSuccess;
  }
  void Note(const std::string& s) { m_out += s; }
  void Note(const char* key, uint32_t v) {
    m_out += std::string(key) + "=" + std::to_string(v) + " ";
  }
  bool Failed() const { return m_failed; }
  std::string Result() const { return m_failed ? m_error : m_out; }

 private:
  void Fail(const char* what, FmStatus st) {
    if (m_failed) return;
    m_failed = true;
    m_error = std::string("error ") + what + " " + std::to_string(st);
  }
  std::unique_ptr<uint8_t[]> m_buf;
  FrameMgr m_fm;
  std::string m_out, m_error;
  bool m_failed = false;
  int m_loops = 0;
};

inline std::string Quote(const std::string& s) {
  std::string out = "'";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out + "'";
}

// A list of strings, each a length of type Len and its bytes (STR records
// with an 8-bit length, STRING and ENCODINGINFO with a 16-bit one).
template <class Len>
void ReadStringList(Decoder& d, const char* key, const char* close) {
  d.Note(std::string(key) + "=[");
  while (d.More()) {
    Len len = 0;
    std::string s;
    if (!d.Get(len) || !d.Bytes(len, &s)) return;
    d.Note(Quote(s) + ",");
  }
  d.Note(close);
}

inline void ReadStrList(Decoder& d, const char* key) { ReadStringList<uint8_t>(d, key, "] "); }

// A list of attribute values (id, 16-bit length, value, padding).
inline void ReadAttributeList(Decoder& d) {
  d.Note("attrs=[");
  while (d.More()) {
    uint16_t id = 0, len = 0;
    std::string v;
    if (!d.Get(id) || !d.Get(len) || !d.Bytes(len, &v)) return;
    d.Note(std::to_string(id) + ":" + Quote(v) + ",");
  }
  d.Note("] ");
}

inline std::string DecodeConnect(const std::vector<uint8_t>& b, int swap) {
  Decoder d(connect_fr, b, swap);
  uint8_t order = 0;
  uint16_t major = 0, minor = 0, count = 0;
  if (d.Get(order) && d.Get(major) && d.Get(minor) && d.Get(count)) {
    d.Note("order", order);
    d.Note("major", major);
    d.Note("minor", minor);
    ReadStringList<uint16_t>(d, "auth", "]");
  }
  return d.Result();
}

inline std::string DecodeOpen(const std::vector<uint8_t>& b, int swap) {
  Decoder d(open_fr, b, swap);
  uint8_t len = 0;
  std::string s;
  if (d.Get(len) && d.Bytes(len, &s)) d.Note("locale=" + Quote(s));
  return d.Result();
}

inline std::string DecodeEncodingNegotiation(const std::vector<uint8_t>& b, int swap) {
  Decoder d(encoding_negotiation_fr, b, swap);
  uint16_t im = 0, n = 0;
  if (!d.Get(im) || !d.Get(n)) return d.Result();
  d.Note("im", im);
  ReadStrList(d, "enc");
  if (d.Failed() || !d.Get(n)) return d.Result();
  ReadStringList<uint16_t>(d, "info", "]");
  return d.Result();
}

inline std::string DecodeQueryExtension(const std::vector<uint8_t>& b, int swap) {
  Decoder d(query_extension_fr, b, swap);
  uint16_t im = 0, n = 0;
  if (d.Get(im) && d.Get(n)) {
    d.Note("im", im);
    ReadStrList(d, "names");
  }
  return d.Result();
}

inline std::string DecodeCreateIC(const std::vector<uint8_t>& b, int swap) {
  Decoder d(create_ic_fr, b, swap);
  uint16_t im = 0, n = 0;
  if (d.Get(im) && d.Get(n)) {
    d.Note("im", im);
    ReadAttributeList(d);
  }
  return d.Result();
}

inline std::string DecodeSetICValues(const std::vector<uint8_t>& b, int swap) {
  Decoder d(set_ic_values_fr, b, swap);
  uint16_t im = 0, ic = 0, n = 0;
  if (d.Get(im) && d.Get(ic) && d.Get(n)) {
    d.Note("im", im);
    d.Note("ic", ic);
    ReadAttributeList(d);
  }
  return d.Result();
}

inline std::string DecodeGetICValues(const std::vector<uint8_t>& b, int swap) {
  Decoder d(get_ic_values_fr, b, swap);
  uint16_t im = 0, ic = 0, n = 0;
  if (d.Get(im) && d.Get(ic) && d.Get(n)) {
    d.Note("im", im);
    d.Note("ic", ic);
    d.Note("ids=[");
    while (d.More()) {
      uint16_t id = 0;
      if (!d.Get(id)) break;
      d.Note(std::to_string(id) + ",");
    }
    d.Note("]");
  }
  return d.Result();
}

inline std::string DecodeForwardEvent(const std::vector<uint8_t>& b, int swap) {
  Decoder d(forward_event_fr, b, swap);
  uint16_t im = 0, ic = 0, flag = 0, serial = 0;
  if (d.Get(im) && d.Get(ic) && d.Get(flag) && d.Get(serial)) {
    d.Note("im", im);
    d.Note("ic", ic);
    d.Note("flag", flag);
    d.Note("serial", serial);
  }
  return d.Result();
}

inline std::string DecodeTriggerNotify(const std::vector<uint8_t>& b, int swap) {
  Decoder d(trigger_notify_fr, b, swap);
  uint16_t im = 0, ic = 0;
  uint32_t flag = 0, index = 0, mask = 0;
  if (d.Get(im) && d.Get(ic) && d.Get(flag) && d.Get(index) && d.Get(mask)) {
    d.Note("im", im);
    d.Note("ic", ic);
    d.Note("flag", flag);
    d.Note("index", index);
    d.Note("mask", mask);
  }
  return d.Result();
}

inline std::string DecodeOpenReply(const std::vector<uint8_t>& b, int swap) {
  Decoder d(open_reply_fr, b, swap);
  uint16_t im = 0, n = 0;
  if (!d.Get(im) || !d.Get(n)) return d.Result();
  d.Note("im", im);
  for (const char* key : {"imattr", "icattr"}) {
    if (std::string(key) == "icattr" && !d.Get(n)) break;
    d.Note(std::string(key) + "=[");
    while (d.More()) {
      uint16_t id = 0, type = 0, len = 0;
      std::string name;
      if (!d.Get(id) || !d.Get(type) || !d.Get(len) || !d.Bytes(len, &name)) break;
      d.Note(std::to_string(id) + "/" + std::to_string(type) + "/" + name + ",");
    }
    d.Note("] ");
    if (d.Failed()) break;
  }
  return d.Result();
}

struct NamedDecoder {
  const char* name;
  std::string (*decode)(const std::vector<uint8_t>&, int);
};

inline const std::vector<NamedDecoder>& AllDecoders() {
  static const std::vector<NamedDecoder> all = {
      {"connect", DecodeConnect},
      {"open", DecodeOpen},
      {"encoding_negotiation", DecodeEncodingNegotiation},
      {"query_extension", DecodeQueryExtension},
      {"create_ic", DecodeCreateIC},
      {"set_ic_values", DecodeSetICValues},
      {"get_ic_values", DecodeGetICValues},
      {"forward_event", DecodeForwardEvent},
      {"trigger_notify", DecodeTriggerNotify},
      {"open_reply", DecodeOpenReply},
  };
  return all;
}

}  // namespace ximtest
