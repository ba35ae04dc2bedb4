#include "framework/internal/PsListing.h"

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

bool PsLineIsOlderCopy(const char* line, const char* programName,
                       const char* programDir, int ownPid) {
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

bool ForEachPsLine(FILE* stream, int pieceSize,
                   const std::function<bool(const char*)>& onLine) {
  std::vector<char> buf(static_cast<size_t>(pieceSize > 2 ? pieceSize : 2));
  while (std::fgets(buf.data(), static_cast<int>(buf.size()), stream)) {
    if (onLine(buf.data())) return true;
  }
  return false;
}

}  // namespace afc
