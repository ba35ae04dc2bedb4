// Xi18nHandlers.h: the server's protocol procedures, one per request it
// answers, and the senders of the server-to-client callback messages. The
// dispatch (Xi18nDispatch.h) installs them on first use; a test may replace
// single entries.
//
// Each procedure reads its message with its frame template, bounded by the
// message's real length; a message that is short or inconsistent is dropped
// with one line on stderr, and nothing of it reaches the application.
// Counted lists longer than the work arrays below are cut at the limit.
//
// The application's protocol handler sees every request it takes part in,
// and also a record of major code XIM_DISCONNECT when a connection ends
// (the client said XIM_DISCONNECT, or its window was destroyed), so that it
// can free what it keeps for that connection (its input contexts).
#pragma once

#include <cstdint>

#include "xim/internal/Xi18nDispatch.h"

// Work-array limits of the requests that carry lists.
constexpr int kMaxEncodingNames = 10;
constexpr int kMaxEncodingInfos = 10;
constexpr int kMaxExtensionNames = 10;
constexpr int kMaxIMAttrIds = 20;
constexpr int kMaxICAttrs = 64;  // per list (IC, preedit, status) and asked ids
// Forward events a client may have waiting for its sync reply; later ones
// are dropped.
constexpr int kMaxPendingEvents = 256;

// Fills the tables with the server's procedures and callback senders.
void _Xi18nInstallProcs(Xi18nMessageProc procs[256], Xi18nCallbackProc callbacks[256]);

// Calls the application's protocol handler; 1 when none is installed.
int _Xi18nCallHandler(XIMS ims, IMProtocol* call_data);

// A connection ended: the handler gets an XIM_DISCONNECT record, then the
// transport drops the client (its window, its queue, its record).
void _Xi18nClientGone(XIMS ims, uint16_t connect_id);

// XIM_CREATE_IC (create 1) and XIM_SET_IC_VALUES (create 0).
void _Xi18nChangeIC(XIMS ims, IMProtocol* call_data, const uint8_t* body, int length, int create);
// XIM_GET_IC_VALUES.
void _Xi18nGetIC(XIMS ims, IMProtocol* call_data, const uint8_t* body, int length);

// Forward events and sync replies (Xi18nForward.cpp).
void ForwardEventMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int* keep);
void SyncReplyMessageProc(XIMS ims, IMProtocol* call_data, const Xi18nMessage& msg, int* keep);
// The senders of the callback messages (Xi18nCallbacks.cpp).
void _Xi18nInstallCallbackProcs(Xi18nCallbackProc callbacks[256]);

// Decodes the pending forward events of a client while it is not waiting
// for a sync reply.
void ProcessQueue(XIMS ims, uint16_t connect_id);
