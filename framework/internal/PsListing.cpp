#include "framework/internal/PsListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace afc {

bool IsPsSeparator(char ch) { return ch == '\r' || ch == '\n' || ch == '\t' || ch == ' '; }

int PsLinePid(const char* line) {
  // "%d " semantics: leading white space, an optional sign, digits.
  char* end = nullptr;
  long pid = std::strtol(line, &end, 10);
  if (end == line || pid < 0 || pid > 0x7fffffffL) return 0;
  return static_cast<int>(pid);
}

int PsLineNamesApp(const char* line, const char* name) {
  if (!*name) return 0;
  const char* hit = std::strstr(line, name);
  if (!hit) return 0;
  const long col = hit - line;
  if (col < 11 || col > 99) return 0;
  if (!IsPsSeparator(hit[-1])) return 0;
  const char after = hit[std::strlen(name)];
  if (after != '\0' && !IsPsSeparator(after)) return 0;
  const int pid = PsLinePid(line);
  return pid > 0 ? pid : 0;
}

bool PsLineIsOlderCopy(const char* line, const char* programName, const char* programDir,
                       int ownPid) {
  if (!*programName || !std::strstr(line, programName)) return false;
  const char* hit = *programDir ? std::strstr(line, programDir) : nullptr;
  if (!hit) return false;
  const long col = hit - line;
  if (col < 1 || col > 99 || !IsPsSeparator(hit[-1])) return false;
  // The directory must start the program's own path: an editor open on
  // "<dir>kvr.ini" or the installer "<dir>kvrsetup" is not a copy of kvr.
  const char* name = hit + std::strlen(programDir);
  const size_t nameLen = std::strlen(programName);
  if (std::strncmp(name, programName, nameLen) != 0) return false;
  if (name[nameLen] != '\0' && !IsPsSeparator(name[nameLen])) return false;
  if (std::strstr(line, "anjuta")) return false;
  const int pid = PsLinePid(line);
  return pid >= 1 && pid < ownPid;
}

bool ForEachPsLine(FILE* stream, int pieceSize, const std::function<bool(const char*)>& onLine) {
  std::vector<char> buf(static_cast<size_t>(pieceSize > 2 ? pieceSize : 2));
  while (std::fgets(buf.data(), static_cast<int>(buf.size()), stream)) {
    if (onLine(buf.data())) return true;
  }
  return false;
}

namespace {

// The whole of a small /proc file; "" when it cannot be read.
std::string ReadProcFile(const std::string& path) {
  // Plain reads: a listing opens two files of every process, and a stdio
  // stream would allocate a buffer for each.
  std::string out;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return out;
  char buf[4096];
  for (;;) {
    const ssize_t got = read(fd, buf, sizeof buf);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    out.append(buf, static_cast<size_t>(got));
  }
  close(fd);
  return out;
}

}  // namespace

std::string ProcListing(PsColumns columns, const char* procRoot, unsigned uid) {
  std::vector<int> pids;
  if (DIR* d = opendir(procRoot)) {
    while (dirent* e = readdir(d)) {
      const char* n = e->d_name;
      if (*n < '1' || *n > '9' || std::strspn(n, "0123456789") != std::strlen(n)) continue;
      const long pid = std::strtol(n, nullptr, 10);
      if (pid > 0 && pid <= 0x7fffffffL) pids.push_back(static_cast<int>(pid));
    }
    closedir(d);
  }
  std::sort(pids.begin(), pids.end());
  std::string out;
  for (int pid : pids) {
    const std::string dir = std::string(procRoot) + "/" + std::to_string(pid);
    if (columns == PsColumns::kMine) {
      struct stat st;
      if (stat(dir.c_str(), &st) != 0 || st.st_uid != uid) continue;
    }
    std::string comm = ReadProcFile(dir + "/comm");
    if (comm.empty()) continue;  // gone meanwhile
    if (comm.back() == '\n') comm.pop_back();
    char head[64];
    if (columns == PsColumns::kAll) {
      std::snprintf(head, sizeof head, "%5d ?        00:00:00 ", pid);
      out += head + comm + "\n";
      continue;
    }
    std::string args = ReadProcFile(dir + "/cmdline");
    while (!args.empty() && args.back() == '\0') args.pop_back();
    std::replace(args.begin(), args.end(), '\0', ' ');
    std::replace(args.begin(), args.end(), '\n', ' ');
    if (args.empty()) args = "[" + comm + "]";
    std::snprintf(head, sizeof head, "%5d ?        S      0:00 ", pid);
    out += head + args + "\n";
  }
  return out;
}

bool ForEachListingLine(const std::string& listing, int pieceSize,
                        const std::function<bool(const char*)>& onLine) {
  FILE* f = fmemopen(const_cast<char*>(listing.data()), listing.size(), "r");
  if (!f) return false;
  const bool stopped = ForEachPsLine(f, pieceSize, onLine);
  std::fclose(f);
  return stopped;
}

}  // namespace afc
