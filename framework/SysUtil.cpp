#include "framework/SysUtil.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "framework/internal/PlatformRoot.h"
#include "framework/internal/PsListing.h"

// --- Processes and the web browser -----------------------------------------

CString FindInstalledWebBrowser() {
  static const char* const kFixedPaths[] = {
      "/usr/local/mozilla/mozilla", "/usr/local/mozilla/firefox", "/usr/local/netscape/netscape",
      "/usr/mozilla/mozilla",       "/usr/mozilla/firefox",       "/usr/netscape/netscape"};
  static const char* const kDirs[] = {"/usr/bin/", "/usr/local/bin/"};
  static const char* const kNames[] = {"konqueror", "kfmbrowser", "mozilla", "firefox", "netscape"};
  for (const char* path : kFixedPaths) {
    const std::string full = afc::UnderPlatformRoot(path);
    if (access(full.c_str(), X_OK) == 0) return CString(full.c_str());
  }
  for (const char* dir : kDirs) {
    for (const char* name : kNames) {
      const std::string full = afc::UnderPlatformRoot(dir) + name;
      if (access(full.c_str(), X_OK) == 0) return CString(full.c_str());
    }
  }
  return CString();
}

void OpenHtml(char* file) {
  if (!file || !*file) return;
  const CString browser = FindInstalledWebBrowser();
  if (browser.IsEmpty()) return;
  // Copy what the child needs before forking: after fork only
  // async-signal-safe calls, and never the parent's Xlib connection.
  const std::string prog(static_cast<const char*>(browser));
  const std::string arg(file);
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    // The grandchild runs the browser; the child ends at once so the parent
    // can reap it, and the browser is adopted by init (no zombie is left).
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      setsid();
      execl(prog.c_str(), prog.c_str(), arg.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
}

std::string AppListing() {
  // Every process, as "ps -A" lists them.
  return afc::ProcListing(afc::PsColumns::kAll, "/proc", 0);
}

int FindAppPidIn(const std::string& listing, const char* name) {
  if (!name || !*name) return 0;
  int found = 0;
  afc::ForEachListingLine(listing, 5120, [&](const char* line) {
    found = afc::PsLineNamesApp(line, name);
    return found > 0;
  });
  return found;
}

int FindAppPid(char* name) {
  if (!name || !*name) return 0;
  return FindAppPidIn(AppListing(), name);
}

// --- Files -----------------------------------------------------------------

namespace {

bool FileExists(const char* path) { return access(path, F_OK) == 0; }

}  // namespace

int ForceRemoveFile(const char* path) {
  // Removing a name needs no permission on the file itself; a chmod here
  // would follow a symbolic link and change whatever it points to.
  return unlink(path);
}

int RemoveFileReadonlyAndHidden(const char* path, int, int) {
  chmod(path, 0777);
  return 0;
}

int MakeFileReadonlyAndHidden(const char*, int readOnly, int hidden) {
  return (readOnly || hidden) ? 1 : 0;
}

int GetFileSize(char* path) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return -1;
  struct stat st {};
  const int rc = fstat(fileno(f), &st);
  std::fclose(f);
  if (rc != 0) return -1;
  return st.st_size > 0x7fffffff ? 0x7fffffff : static_cast<int>(st.st_size);
}

CString ReadFileToStr(char* path) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return CString();
  std::string data;
  char block[8192];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return CString();
  return CString(data.c_str());  // up to the first NUL
}

// --- The system ------------------------------------------------------------

int GetSysType() {
  struct Rule {
    int code;
    const char* files[2];
  };
  static const Rule kRules[] = {
      {kSysRedFlag, {"/etc/redflag-release", "/etc/redflag_version"}},
      {kSysRedHat, {"/etc/redhat-release", "/etc/redhat_version"}},
      {kSysFedora, {"/etc/fedora-release", "/etc/fedora_version"}},
      {kSysDebian, {"/etc/debian-release", "/etc/debian_version"}},
      {kSysSlackware, {"/etc/slackware-release", "/etc/slackware_version"}},
      {kSysSuSE, {"/etc/SuSE-release", "/etc/SuSE_version"}},
      {kSysMandrake, {"/etc/mandrake-release", "/etc/mandrake_version"}},
      {kSysYellowDog, {"/etc/yellowdog", "/etc/yellowdog_version"}},
      {kSysSun, {"/etc/sun-release", nullptr}},
      {kSysGentoo, {"/etc/gentoo-release", nullptr}},
      {kSysRelease, {"/etc/release", nullptr}},
  };
  for (const Rule& rule : kRules) {
    for (const char* file : rule.files) {
      if (file && FileExists(afc::UnderPlatformRoot(file).c_str())) return rule.code;
    }
  }
  return kSysUnknown;
}

uint32_t GetMiliSecCount() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  return static_cast<uint32_t>(static_cast<uint64_t>(tv.tv_sec) * 1000u +
                               static_cast<uint64_t>(tv.tv_usec) / 1000u);
}

uint32_t TimerSubtract(timeval& a, timeval& b) {
  int64_t sec = static_cast<int64_t>(a.tv_sec) - b.tv_sec;
  int64_t usec = static_cast<int64_t>(a.tv_usec) - b.tv_usec;
  if (usec < 0) {
    usec += 1000000;
    --sec;
  }
  return static_cast<uint32_t>(sec * 1000 + usec / 1000);
}

// --- GBK <-> UTF-8 -----------------------------------------------------------

namespace {

// Converts text with iconv from one code set to the other into a buffer of
// capacity bytes (plus a NUL). Stops at the first invalid or unconvertible
// sequence and at a full buffer; returns what was produced before that.
std::string IconvText(const char* to, const char* from, const char* text, size_t capacity) {
  std::string result;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "iconv_open(\"%s\", \"%s\") failed: %s\n", to, from, std::strerror(errno));
    return result;
  }
  std::vector<char> out(capacity + 1);
  char* in = const_cast<char*>(text);
  size_t inLeft = std::strlen(text);
  char* outPtr = out.data();
  size_t outLeft = capacity;
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  result.assign(out.data(), static_cast<size_t>(outPtr - out.data()));
  return result;
}

CString DeliverConverted(const std::string& converted, char** out, long* length) {
  if (length) *length = static_cast<long>(converted.size());
  if (!out) return CString(converted.c_str());
  char* buf = static_cast<char*>(std::malloc(converted.size() + 1));
  if (buf) {
    std::memcpy(buf, converted.data(), converted.size());
    buf[converted.size()] = '\0';
  }
  *out = buf;
  return CString();
}

}  // namespace

CString GBKToUtf8(char* text, char** out, long* length) {
  const char* src = text ? text : "";
  // One GBK byte becomes at most three UTF-8 bytes.
  const size_t capacity = std::strlen(src) * 3 + 64;
  return DeliverConverted(IconvText("UTF-8", "GBK", src, capacity), out, length);
}

CString Utf8ToGBK(char* text, char** out, long* length) {
  const char* src = text ? text : "";
  // Every GBK character is at most as long as its UTF-8 form.
  const size_t capacity = std::strlen(src) + 64;
  return DeliverConverted(IconvText("GBK", "UTF-8", src, capacity), out, length);
}

// --- Stand-ins for Windows calls -------------------------------------------

void DbgOut(const char*, ...) {}
int MessageBox(unsigned long, char*, char*, int) { return 1; }
int GetClassName(unsigned long, char*, int) { return 1; }
int GetAsyncKeyState(int) { return 1; }
int GetFileAttributes(const char*) { return 1; }
int SetFileAttributes(const char*, unsigned long) { return 1; }
int GetTaskbarPos(tagRECT*) { return 0; }
int MenuContainsThisItem(unsigned long, unsigned long) { return 0; }
void TestTrue(int) {}

// --- CopyFile ------------------------------------------------------------------

int CopyFile(const char* from, const char* to, int failIfExists) {
  if (!from || !to) return 0;
  if (failIfExists && FileExists(to)) return 0;
  FILE* in = std::fopen(from, "rb");
  if (!in) return 0;
  // The copy replaces the target in one step, so a failed copy leaves the
  // old target whole.
  AtomicFile out(to);
  bool ok = out.Open();
  char block[8192];
  size_t n;
  while (ok && (n = std::fread(block, 1, sizeof block, in)) > 0) ok = out.Write(block, n);
  ok = ok && !std::ferror(in);
  std::fclose(in);
  ok = ok && out.Commit();
  if (!ok && !out.Error().empty())
    std::fprintf(stderr, "CopyFile %s -> %s: %s\n", from, to, out.Error().c_str());
  return ok ? 1 : 0;
}
