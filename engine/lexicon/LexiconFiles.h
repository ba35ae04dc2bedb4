// LexiconFiles.h: how the engine replaces the files of the user's lexicon
// (the phrase store, the phrase and initials indexes, the association maps,
// the learned character order) and keeps two kvr processes that share one
// program directory from saving at the same time.
//
// Each file goes through AtomicFile (base/AtomicFile.h): written to a
// temporary file beside it, fsynced, renamed over it, directory fsynced.
// A file keeps its permissions. A file the user made read-only is still
// saved, as the lexicon always was, and is read-only again afterwards.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"

namespace lexfile {

// One replacement: Open and Write stage the new content beside the target;
// Commit puts it in place. Destroyed without a Commit, it leaves the target
// as it was (and its mode as it was).
class LexiconFile {
 public:
  LexiconFile(std::string path, IFileOps& ops);
  ~LexiconFile();
  LexiconFile(const LexiconFile&) = delete;
  LexiconFile& operator=(const LexiconFile&) = delete;

  [[nodiscard]] bool Open();
  [[nodiscard]] bool Write(std::string_view bytes);
  [[nodiscard]] bool Commit();
  const std::string& Error() const { return m_file.Error(); }
  const std::string& Path() const { return m_path; }

 private:
  void RestoreMode(const std::string& file);

  std::string m_path;
  AtomicFile m_file;
  bool m_loosened = false;  // the target was made writable for the save
  mode_t m_mode = 0;        // its mode before
};

// Replaces path with bytes in one LexiconFile; false with the reason in
// error on failure.
[[nodiscard]] bool Replace(const std::string& path, std::string_view bytes, std::string& error,
                           IFileOps& ops);

// An exclusive lock on a directory (flock on the directory itself, so no
// lock file is left behind), held from construction to destruction. Waits
// a little for another process's save to end, then gives up.
class DirLock {
 public:
  explicit DirLock(const std::string& dir);
  ~DirLock();
  DirLock(const DirLock&) = delete;
  DirLock& operator=(const DirLock&) = delete;
  bool Held() const { return m_held; }

 private:
  int m_fd = -1;
  bool m_held = false;
};

}  // namespace lexfile
