// XRequestRecorder.h: counts the requests one X client makes while it is
// recorded, through the server's RECORD extension on two connections of the
// recorder's own (one to control the recording, one that receives it on a
// thread). A request the server answers with a reply is one Xlib waits for
// (a round trip; XGetWindowAttributes waits once for two), so those are
// counted by type; the rest only in total.
//
// The recorded client is named by any resource it created (its window);
// the server pairs every reply with the request it answers, and a client's
// reply is recorded right after its request, which is how a reply finds its
// request here. Nothing here is shared with the recorded client.
#pragma once

#include <X11/Xlib.h>

#include <map>
#include <memory>
#include <string>

namespace kvrbench {

struct XRequestCounts {
  long requests = 0;                           // every request recorded
  long answered = 0;                           // those with a reply
  std::map<std::string, long> answeredByType;  // "GetProperty", "XKEYBOARD.8", ...
};

class XRequestRecorder {
 public:
  XRequestRecorder();
  ~XRequestRecorder();
  XRequestRecorder(const XRequestRecorder&) = delete;
  XRequestRecorder& operator=(const XRequestRecorder&) = delete;

  // Whether the server on displayName offers RECORD; why says what is missing.
  static bool Available(const std::string& displayName, std::string* why);
  // Starts recording the client that created clientResource on displayName
  // and returns once the server records; false (with why) when it cannot.
  // Counts start from zero.
  [[nodiscard]] bool Start(const std::string& displayName, XID clientResource, std::string* why);
  // Ends the recording (requests the server has not read yet are not
  // counted) and returns what was recorded. Harmless without Start.
  XRequestCounts Stop();

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace kvrbench
