// Installation.h: what leaving the wizard's last page does. CInstallation
// makes the install directory, moves the distribution files into it, edits
// the X start-up files (unless the user does that himself), writes the
// launch scripts kvr, kivra and kvrterm into the bin directory and reports
// the outcome. The wizard (CMainDlg) builds one from its choices; tests
// build one over a scratch tree.
//
// Paths: the bin directory is named as the installed system sees it
// ("/usr/bin" for all users, $HOME for one user) and that is what the
// scripts say; for all users it lies under afc::PlatformRoot() on disk, so
// tests stage a system of their own. The per-user files follow HOME.
//
// Nothing is changed when the distribution lacks kvr, gbkflat.dic or
// pykeys.dic (a second run from an emptied distribution must not delete
// the installed dictionaries), or when the install path is too long.
// Every failed move, removal or write makes the outcome a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace installer {

class IInstallOps;

// What the installation asks of the wizard around it.
class IInstallHost {
 public:
  virtual ~IInstallHost() = default;
  // Moves the progress bar (0 to 100) and redraws it.
  virtual void SetProgress(int percent) = 0;
  // Hides Next, Back, Cancel and the title while the files move.
  virtual void HideWizardButtons() = 0;
  // A Yes/No box with a UTF-8 text: 6 Yes, 7 No, 2 Escape.
  virtual int AskYesNo(const std::string& text) = 0;
  // An OK box with a UTF-8 text.
  virtual void ShowMessage(const std::string& text) = 0;
  // Seconds of a monotonic clock, and a pause: the installation lasts at
  // least kMinInstallSeconds.
  virtual uint32_t NowSec() = 0;
  virtual void SleepSec(unsigned seconds) = 0;
};

// The installation takes at least this long, so the user sees it happen.
constexpr uint32_t kMinInstallSeconds = 5;
// gszInstallPathName holds this many bytes with its NUL.
constexpr size_t kInstallPathBytes = 256;

// The wizard's choices.
struct InstallChoice {
  std::string progDir;  // kvrsetup's directory, ending in '/'
  std::string binDir;   // "/usr/bin" or $HOME, as the system names it
  bool allUsers = true;
  bool editStartup = true;  // check box 191 off
  int sysType = 0;          // gSysType; 2 is Red Flag Linux
};

class CInstallation {
 public:
  // host and ops are borrowed and outlive the object.
  CInstallation(InstallChoice choice, IInstallHost& host, IInstallOps& ops);

  // The whole installation; 1 when it ran (the outcome was shown), 0 when
  // it was refused or the install directory could not be made.
  int InstallApp();
  // Removes the derived dictionaries and moves the files; 1 when every
  // move succeeded.
  int InstallFiles();
  // Moves one file of the distribution directory (found without regard to
  // case, installed under its own name); 1 when moved or absent.
  int InstallAFile(const char* name);
  // Moves every entry of a subdirectory (extension null) or every
  // top-level entry with the extension; 1 when all moved.
  int CopyFiles(const char* subdir, const char* extension);
  // The launch scripts; 1 when written.
  int CreateBinKvrScript(const std::string& path);
  int CreateBinKvrXTerm(const std::string& path);
  // The X start-up edits; 1 when done.
  int ModifyUserHomeShellInitFile();
  int ModifyRedflagSys();
  int ModifyXimScript();

  // "<progDir>Kivra_DistributionFiles".
  std::string DistDir() const;
  // The bin directory and the install directory as they are on disk.
  std::string BinDirOnDisk() const;
  std::string InstallDir() const;
  // The install path as the scripts name it ("<binDir>/Kivra").
  std::string InstallPathName() const { return m_choice.binDir + "/Kivra"; }
  // Whether the user kept the old lexicon (after InstallFiles).
  bool KeptOldLexicon() const { return m_keepLexicon; }
  // What failed, one line a failure.
  const std::vector<std::string>& Errors() const { return m_errors; }

 private:
  bool Refused();
  bool MakeDirectories();
  void AskAboutOldLexicon();
  void RemoveDerivedDictionaries();
  int EditStartupFiles();
  std::string LaunchScript(bool withTerminal) const;
  int WriteScript(const std::string& path, bool withTerminal);
  void Progress(int percent) { m_host.SetProgress(percent); }
  void Failed(const std::string& error);

  InstallChoice m_choice;
  IInstallHost& m_host;  // borrowed
  IInstallOps& m_ops;    // borrowed
  bool m_keepLexicon = false;
  std::vector<std::string> m_errors;
};

// The block of launch lines in ~/.bash_profile, from its begin marker to
// its end marker (each line ending in '\n'); exposed for tests.
std::string ShellInitBlock(const std::string& binDir, bool withXModifiers);
// text with the block put in: an earlier block (begin to end marker) is
// replaced where it stands, else the block is appended; a new file
// (existed false) first sources ~/.profile.
std::string WithShellInitBlock(const std::string& text, bool existed, const std::string& block);

}  // namespace installer
