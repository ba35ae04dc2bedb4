// Xi18nDispatch.h: where whole incoming messages meet the protocol code.
// The transport hands every message it has read and checked to
// _Xi18nMessageHandler, which builds the zeroed request record (major,
// minor, connection id) and calls the procedure registered for the major
// opcode. Messages without a procedure are ignored, as the protocol allows
// for requests a server does not answer.
//
// The procedures (one per request the server handles) and the senders of
// the server-to-client callback messages live in two process-wide tables
// indexed by major opcode; the protocol-handler code fills them when the
// server is set up, a test may fill them with its own.
#pragma once

#include <cstdint>

#include "xim/XimProto.h"

// One incoming message as the transport delivers it: the 4-byte header
// (major, minor, body length in 4-byte units, the length in host order)
// followed by the body, `length` = 4 + 4 * header length bytes, never less
// than 4. The block is malloc'd; setting *keep to 0 takes it over (free()
// it later).
struct Xi18nMessage {
  uint8_t* data;
  int length;
  const uint8_t* Body() const { return data + 4; }
  int BodyLength() const { return length - 4; }
  uint8_t Major() const { return data[0]; }
  uint8_t Minor() const { return data[1]; }
};

typedef void (*Xi18nMessageProc)(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg,
                                 int* keep);
typedef int (*Xi18nCallbackProc)(XIMS ims, IMProtocol* call_data);

// Installs the procedure for a major opcode; returns the one it replaces.
// Null removes it.
Xi18nMessageProc _Xi18nSetMessageProc(uint8_t major, Xi18nMessageProc proc);
// Installs the sender of a callback message (major opcode 70 to 81).
Xi18nCallbackProc _Xi18nSetCallbackProc(uint8_t major, Xi18nCallbackProc proc);
Xi18nCallbackProc _Xi18nGetCallbackProc(uint8_t major);

// Decodes and answers one message of a known client. A message whose
// header length disagrees with its size, or from an unknown connection, is
// dropped. *keep is preset to 1 by the caller.
void _Xi18nMessageHandler(XIMS ims, uint16_t connect_id, uint8_t* p, int length, int* keep);
