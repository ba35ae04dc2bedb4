// The launch scripts and the X start-up edits: ~/.bash_profile for one
// user, /usr/bin/rfinput on Red Flag Linux and the xinput script elsewhere
// for all users. System files are backed up once by copying and rewritten
// through a temporary file, keeping their mode: a failed write leaves the
// original in place.
#include <cstdlib>
#include <string>

#include "framework/SysUtil.h"
#include "framework/internal/PlatformRoot.h"
#include "installer/FileWork.h"
#include "installer/InstallOps.h"
#include "installer/InstallTexts.h"
#include "installer/Installation.h"
#include "installer/XimScriptEdit.h"

namespace installer {
namespace {

constexpr const char gszChangeXModifierCmd[] = "export XMODIFIERS=@im=Kivra\n";
constexpr const char gszChangeGtkIM_ModuleCmd[] = "export GTK_IM_MODULE=xim\n";
constexpr const char gszPath_xinput[] = "/etc/X11/xinit/xinitrc.d/xinput";
constexpr const char kRfinputPath[] = "/usr/bin/rfinput";

constexpr const char kBlockBegin[] = "# >>> Kivra input method (written by kvrsetup) >>>\n";
constexpr const char kBlockEnd[] = "# <<< Kivra input method <<<\n";

// The lines that start kvr: it draws Chinese only from its own X fonts, so
// their directory joins the display's font path first.
std::string LaunchLines(const std::string& binDir, bool withXModifiers) {
  std::string lines;
  if (withXModifiers) lines += gszChangeXModifierCmd;
  lines += gszChangeGtkIM_ModuleCmd;
  lines += "xset +fp " + ShellQuote(binDir + "/Kivra/fonts") + " 2>/dev/null\n";
  lines += ShellQuote(binDir + "/Kivra/kvr") + " &\n";
  return lines;
}

std::string Formatted(const char* format, const std::string& arg) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, format, arg.c_str());
  return buf;
}

}  // namespace

std::string ShellInitBlock(const std::string& binDir, bool withXModifiers) {
  return std::string(kBlockBegin) + LaunchLines(binDir, withXModifiers) + kBlockEnd;
}

std::string WithShellInitBlock(const std::string& text, bool existed, const std::string& block) {
  const size_t begin = text.find(kBlockBegin);
  if (begin != std::string::npos && (begin == 0 || text[begin - 1] == '\n')) {
    const size_t end = text.find(kBlockEnd, begin);
    if (end != std::string::npos)
      return text.substr(0, begin) + block + text.substr(end + sizeof kBlockEnd - 1);
  }
  std::string out = text;
  if (!existed) {
    // bash reads ~/.profile at login only while there is no ~/.bash_profile;
    // the file made here must not take away what ~/.profile sets up.
    out += "if [ -f \"$HOME/.profile\" ]; then . \"$HOME/.profile\"; fi\n";
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out + block;
}

std::string CInstallation::LaunchScript(bool withTerminal) const {
  std::string text = "#!/bin/sh\n" + LaunchLines(m_choice.binDir, m_choice.sysType != kSysRedFlag);
  if (withTerminal) text += "gnome-terminal\n";
  return text;
}

int CInstallation::WriteScript(const std::string& path, bool withTerminal) {
  std::string error;
  if (!WriteFileReplacing(m_ops, path, LaunchScript(withTerminal), kProgramMode, &error) ||
      !SetModeNoFollow(m_ops, path, kProgramMode, &error)) {
    Failed(error);
    return 0;
  }
  return 1;
}

int CInstallation::CreateBinKvrScript(const std::string& path) { return WriteScript(path, false); }

int CInstallation::CreateBinKvrXTerm(const std::string& path) { return WriteScript(path, true); }

int CInstallation::ModifyUserHomeShellInitFile() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    Failed("HOME is not set: ~/.bash_profile was not changed");
    return 0;
  }
  const std::string path = std::string(home) + "/.bash_profile";
  std::string text;
  const bool existed = PathExists(path);
  if (existed && !ReadWholeFile(path, &text)) {
    Failed(path + ": cannot read it");
    return 0;
  }
  const std::string block = ShellInitBlock(m_choice.binDir, m_choice.sysType != kSysRedFlag);
  const std::string edited = WithShellInitBlock(text, existed, block);
  if (existed && edited == text) return 1;
  std::string error;
  if (!WriteFileReplacing(m_ops, path, edited, 0644, &error)) {
    Failed(error);
    return 0;
  }
  return 1;
}

int CInstallation::ModifyRedflagSys() {
  const std::string path = afc::UnderPlatformRoot(kRfinputPath);
  std::string error;
  if (!BackupOnce(m_ops, path, &error)) {
    Failed(error);
    return 0;
  }
  return CreateBinKvrScript(path);
}

int CInstallation::ModifyXimScript() {
  const std::string path = afc::UnderPlatformRoot(gszPath_xinput);
  std::string script, edited;
  if (!ReadWholeFile(path, &script)) {
    Failed(path + ": cannot read it");
    return 0;
  }
  if (!EditXimScript(script, &edited)) {
    Failed(path + ": no Chinese section or program entry to change");
    return 0;
  }
  std::string error;
  if (!BackupOnce(m_ops, path, &error)) {
    Failed(error);
    return 0;
  }
  if (edited != script && !WriteFileReplacing(m_ops, path, edited, 0644, &error)) {
    Failed(error);
    return 0;
  }
  return 1;
}

int CInstallation::EditStartupFiles() {
  if (!m_choice.allUsers) {
    if (ModifyUserHomeShellInitFile()) return 1;
    const char* home = std::getenv("HOME");
    m_host.ShowMessage(
        Formatted(texts::kStartupFileFailed, std::string(home ? home : "~") + "/.bash_profile"));
    return 0;
  }
  if (m_choice.sysType == kSysRedFlag) {
    if (ModifyRedflagSys()) return 1;
    m_host.ShowMessage(Formatted(texts::kStartupFileFailed, kRfinputPath));
    return 0;
  }
  if (ModifyXimScript()) return 1;
  m_host.ShowMessage(Formatted(texts::kXimScriptFailed, gszPath_xinput));
  return 0;
}

}  // namespace installer
