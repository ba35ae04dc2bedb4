#include "bench/XRequestRecorder.h"

#include <X11/Xproto.h>
#include <X11/extensions/record.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kvrbench {

namespace {

constexpr int kFirstExtensionOpcode = 128;

// The request's name: the core names and the extensions' minor names from
// Xlib's error database, else "EXTENSION.minor".
std::string RequestName(Display* dpy, const std::map<int, std::string>& extensions, int major,
                        int minor) {
  char text[128] = "";
  if (major < kFirstExtensionOpcode) {
    const std::string fallback = "core " + std::to_string(major);
    XGetErrorDatabaseText(dpy, "XRequest", std::to_string(major).c_str(), fallback.c_str(), text,
                          sizeof text);
    std::string name = text;
    if (name.compare(0, 2, "X_") == 0) name.erase(0, 2);
    return name;
  }
  const auto it = extensions.find(major);
  const std::string ext = it == extensions.end() ? "ext " + std::to_string(major) : it->second;
  const std::string fallback = ext + "." + std::to_string(minor);
  XGetErrorDatabaseText(dpy, "XRequest", fallback.c_str(), fallback.c_str(), text, sizeof text);
  std::string name = text;
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  return name == fallback ? name : ext + " " + name;
}

// Major opcode → extension name, for the server on dpy.
std::map<int, std::string> ExtensionNames(Display* dpy) {
  std::map<int, std::string> names;
  int n = 0;
  char** list = XListExtensions(dpy, &n);
  for (int i = 0; i < n; ++i) {
    int major = 0, event = 0, error = 0;
    if (XQueryExtension(dpy, list[i], &major, &event, &error)) names[major] = list[i];
  }
  if (list) XFreeExtensionList(list);
  return names;
}

}  // namespace

struct XRequestRecorder::State {
  Display* control = nullptr;  // owned: creates, disables and frees the context
  Display* data = nullptr;     // owned: read by the recording thread only
  XRecordContext context = 0;
  std::thread thread;
  std::map<int, std::string> extensions;

  // Written by the recording thread; read after it ends, except started.
  std::mutex mutex;
  std::condition_variable cv;
  bool started = false;
  bool ended = false;
  int lastMajor = -1, lastMinor = 0;
  bool lastAnswered = true;
  std::map<std::pair<int, int>, long> answered;  // (major, minor) → count
  long requests = 0;

  static void Intercept(XPointer closure, XRecordInterceptData* d) {
    auto* s = reinterpret_cast<State*>(closure);
    switch (d->category) {
      case XRecordStartOfData: {
        std::lock_guard<std::mutex> lock(s->mutex);
        s->started = true;
        s->cv.notify_all();
        break;
      }
      case XRecordFromClient:
        if (d->data_len > 0) {
          ++s->requests;
          s->lastMajor = d->data[0];
          s->lastMinor = s->lastMajor >= kFirstExtensionOpcode ? d->data[1] : 0;
          s->lastAnswered = false;
        }
        break;
      case XRecordFromServer:
        // A reply longer than one (a font list) is still one request.
        if (d->data_len > 0 && d->data[0] == X_Reply && !s->lastAnswered && s->lastMajor >= 0) {
          ++s->answered[{s->lastMajor, s->lastMinor}];
          s->lastAnswered = true;
        }
        break;
      default: break;
    }
    XRecordFreeData(d);
  }
};

XRequestRecorder::XRequestRecorder() = default;

XRequestRecorder::~XRequestRecorder() { Stop(); }

bool XRequestRecorder::Available(const std::string& displayName, std::string* why) {
  Display* dpy = XOpenDisplay(displayName.c_str());
  if (!dpy) {
    *why = "cannot open " + displayName;
    return false;
  }
  int major = 0, minor = 0;
  const bool ok = XRecordQueryVersion(dpy, &major, &minor);
  XCloseDisplay(dpy);
  if (!ok) *why = "the X server has no RECORD extension";
  return ok;
}

bool XRequestRecorder::Start(const std::string& displayName, XID clientResource, std::string* why) {
  Stop();
  auto s = std::make_unique<State>();
  s->control = XOpenDisplay(displayName.c_str());
  s->data = XOpenDisplay(displayName.c_str());
  if (!s->control || !s->data) {
    *why = "cannot open " + displayName;
    if (s->control) XCloseDisplay(s->control);
    if (s->data) XCloseDisplay(s->data);
    return false;
  }
  s->extensions = ExtensionNames(s->control);
  XRecordRange* range = XRecordAllocRange();
  if (!range) {
    *why = "out of memory";
    XCloseDisplay(s->control);
    XCloseDisplay(s->data);
    return false;
  }
  range->core_requests = {1, 127};
  range->core_replies = {1, 127};
  range->ext_requests = {kFirstExtensionOpcode, 255, {0, 255}};
  range->ext_replies = {kFirstExtensionOpcode, 255, {0, 255}};
  XRecordClientSpec client = clientResource;
  s->context = XRecordCreateContext(s->control, 0, &client, 1, &range, 1);
  XFree(range);
  XSync(s->control, False);
  if (!s->context) {
    *why = "the server refused a recording context";
    XCloseDisplay(s->control);
    XCloseDisplay(s->data);
    return false;
  }
  State* raw = s.get();
  s->thread = std::thread([raw] {
    XRecordEnableContext(raw->data, raw->context, &State::Intercept,
                         reinterpret_cast<XPointer>(raw));
    std::lock_guard<std::mutex> lock(raw->mutex);
    raw->ended = true;
    raw->cv.notify_all();
  });
  {
    std::unique_lock<std::mutex> lock(s->mutex);
    s->cv.wait(lock, [&] { return s->started || s->ended; });
  }
  m_state = std::move(s);
  if (!m_state->started) {
    *why = "the server did not start recording";
    Stop();
    return false;
  }
  return true;
}

XRequestCounts XRequestRecorder::Stop() {
  XRequestCounts counts;
  if (!m_state) return counts;
  State& s = *m_state;
  XRecordDisableContext(s.control, s.context);
  XSync(s.control, False);
  s.thread.join();
  XRecordFreeContext(s.control, s.context);
  counts.requests = s.requests;
  for (const auto& [type, n] : s.answered) {
    counts.answered += n;
    counts.answeredByType[RequestName(s.control, s.extensions, type.first, type.second)] += n;
  }
  XCloseDisplay(s.data);
  XCloseDisplay(s.control);
  m_state.reset();
  return counts;
}

}  // namespace kvrbench
