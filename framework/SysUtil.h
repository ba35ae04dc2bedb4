// SysUtil.h: how the rest of the system reaches the operating system:
// finding running programs, starting the web browser on an HTML guide, file
// helpers, the distribution probe, the millisecond clock, GBK <-> UTF-8
// through iconv, and the key grab that the front end holds while candidates
// are shown. A group of functions named after Windows calls stands in for
// those calls; each returns the fixed value its callers rely on.
//
// Not here: the byte scrambling of the phrase store (engine/formats/JiaMiJieMi.h)
// and the X display itself (framework/AfcKernel.h).
#pragma once

#include <sys/time.h>

#include <cstdint>
#include <string>

#include "base/CString.h"

struct tagRECT;

// --- Processes and the web browser -----------------------------------------

// The first executable browser of a fixed list (mozilla, firefox and
// netscape under /usr/local and /usr, then konqueror, kfmbrowser, mozilla,
// firefox, netscape in /usr/bin/ and /usr/local/bin/); empty when none.
CString FindInstalledWebBrowser();

// Starts the browser on file and returns at once; does nothing without a
// browser or a file. The browser is executed directly (no shell, so the
// path needs no quoting) from a detached grandchild, so no zombie is left
// and the child never touches the parent's X connection.
void OpenHtml(char* file);

// The pid of a running program whose command is name, from the process
// list as "ps -A" prints it (read from /proc); 0 when there is none.
int FindAppPid(char* name);
// The process list FindAppPid reads, taken once for several look-ups.
std::string AppListing();
// FindAppPid's answer in a listing made by AppListing.
int FindAppPidIn(const std::string& listing, const char* name);

// --- Files -----------------------------------------------------------------

// Copies from to to. 0 when failIfExists is set and to exists, when either
// file cannot be opened, or when reading or writing fails (the old target
// then stays as it was: the copy goes through a temporary file beside it).
// 1 on success.
int CopyFile(const char* from, const char* to, int failIfExists);
// Removes the name (unlink, never a chmod: a link is removed, not
// followed); 0 done, -1 not.
int ForceRemoveFile(const char* path);
// chmod 0777; returns 0.
int RemoveFileReadonlyAndHidden(const char* path, int, int);
// Changes nothing; 1 when readOnly or hidden is nonzero, else 0.
int MakeFileReadonlyAndHidden(const char* path, int readOnly, int hidden);
// Size in bytes, -1 when the file cannot be opened.
int GetFileSize(char* path);
// The whole file as text, up to its first NUL; empty when the file cannot
// be opened or not all of it can be read.
CString ReadFileToStr(char* path);

// --- The system ------------------------------------------------------------

// Distribution codes of GetSysType.
enum SysType : int {
  kSysRedHat = 1,
  kSysRedFlag = 2,
  kSysFedora = 3,
  kSysSlackware = 4,
  kSysDebian = 5,
  kSysSuSE = 6,
  kSysMandrake = 7,
  kSysRelease = 8,
  kSysSun = 9,
  kSysYellowDog = 10,
  kSysGentoo = 11,
  kSysUnknown = 1000,
};
// The distribution code from the release files in /etc (first match of a
// fixed order, Red Flag first).
int GetSysType();

// Milliseconds of the time of day, wrapping at 2^32. Compare two readings by
// unsigned difference.
uint32_t GetMiliSecCount();
// a - b in milliseconds.
uint32_t TimerSubtract(timeval& a, timeval& b);

// GBK -> UTF-8 and back with iconv. With out null the result is returned as
// a CString; otherwise it is malloc'ed into *out (the caller frees it) and
// an empty CString is returned. *length (when not null) gets the bytes
// produced. Conversion stops at the first sequence that is invalid or that
// the target cannot hold; what came before it is the result. The output is
// sized for the worst case, so valid text is never cut.
CString GBKToUtf8(char* text, char** out, long* length);
CString Utf8ToGBK(char* text, char** out, long* length);

// Grabs the keys that select candidates on window (keycodes 67 to 78 in
// shape-code input, 74 and 78 in pinyin) with any modifiers. 0 when a grab
// is already held (nothing changes), else 1.
int GrabSomeKeys(unsigned long window);
// Releases exactly the keys that GrabSomeKeys grabbed, whatever the input
// method is now. 0 when no grab is held, else 1.
int UnGrabSomeKeys();

// --- Stand-ins for Windows calls -------------------------------------------

// The trace hook of the framework and the engine; prints nothing.
void DbgOut(const char* format, ...);
// Shows nothing; returns 1 (callers take that as the answer).
int MessageBox(unsigned long window, char* text, char* caption, int type);
// Rings the display's bell at 78 percent.
void MessageBeep(int);
// Writes nothing; returns 1.
int GetClassName(unsigned long window, char* buffer, int size);
int GetAsyncKeyState(int key);  // 1

class CWaitCursor {
 public:
  CWaitCursor() {}
  ~CWaitCursor() {}
};

// Write nothing; return 1.
template <class... Args>
int MultiByteToWideChar(Args&&...) {
  return 1;
}
template <class... Args>
int WideCharToMultiByte(Args&&...) {
  return 1;
}
int GetFileAttributes(const char*);                 // 1
int SetFileAttributes(const char*, unsigned long);  // 1
int GetTaskbarPos(tagRECT*);                        // 0, rectangle untouched
template <class... Args>
int MyGetDiskFreeSpace(Args&&...) {
  return 0;
}
int MenuContainsThisItem(unsigned long, unsigned long);  // 0
// The hook the Big5 conversion passes every code through; returns it as is.
template <class... Args>
unsigned short Gbk2B5Adjust(unsigned short code, Args&&...) {
  return code;
}
// The check hook of the containers; does nothing.
void TestTrue(int);
