// Xi18nDispatch.cpp: the tables of protocol procedures and the entry that
// routes one incoming message to its procedure.
#include "xim/internal/Xi18nDispatch.h"

#include <cstdio>
#include <cstring>

#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nHandlers.h"

namespace {
// Written at setup (or by tests) before any message arrives; read by the
// dispatch below. One thread.
Xi18nMessageProc g_messageProcs[256];
Xi18nCallbackProc g_callbackProcs[256];
bool g_installed = false;

// The server's own procedures go in on first use, before any test or
// message can look at the tables.
void EnsureInstalled() {
  if (g_installed) return;
  g_installed = true;
  _Xi18nInstallProcs(g_messageProcs, g_callbackProcs);
}
}  // namespace

Xi18nMessageProc _Xi18nSetMessageProc(uint8_t major, Xi18nMessageProc proc) {
  EnsureInstalled();
  Xi18nMessageProc old = g_messageProcs[major];
  g_messageProcs[major] = proc;
  return old;
}

Xi18nCallbackProc _Xi18nSetCallbackProc(uint8_t major, Xi18nCallbackProc proc) {
  EnsureInstalled();
  Xi18nCallbackProc old = g_callbackProcs[major];
  g_callbackProcs[major] = proc;
  return old;
}

Xi18nCallbackProc _Xi18nGetCallbackProc(uint8_t major) {
  EnsureInstalled();
  return g_callbackProcs[major];
}

void _Xi18nMessageHandler(XIMS ims, uint16_t connect_id, uint8_t* p, int length, int* keep) {
  Xi18nCore* core = Xi18nOf(ims);
  if (!_Xi18nFindClient(core, connect_id)) {
    std::fprintf(stderr, "xim: message for unknown connection %u dropped\n", connect_id);
    return;
  }
  uint16_t units;
  if (length < 4 || (std::memcpy(&units, p + 2, 2), 4 + 4 * static_cast<int>(units) != length)) {
    std::fprintf(stderr, "xim: connection %u: message of %d bytes disagrees with its header\n",
                 connect_id, length);
    return;
  }
  EnsureInstalled();
  Xi18nMessageProc proc = g_messageProcs[p[0]];
  if (!proc) return;
  IMProtocol call_data;
  std::memset(&call_data, 0, sizeof call_data);
  call_data.any.major_code = p[0];
  call_data.any.minor_code = p[1];
  call_data.any.connect_id = connect_id;
  proc(ims, &call_data, Xi18nMessage{p, length}, keep);
}
