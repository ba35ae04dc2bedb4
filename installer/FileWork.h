// FileWork.h: the installer's file moves and copies. Files are moved out of
// the distribution directory by renaming them over their target, so an
// installed file is replaced in one step and never missing; when the two
// directories lie on different file systems the file is copied into a
// temporary beside the target and renamed over it. System files the
// installer edits are backed up once by copying, so the original stays in
// place until its replacement is whole.
//
// Everything that changes the disk goes through IInstallOps. Failures come
// back as false with a message naming the file and the operation.
#pragma once

#include <sys/types.h>

#include <string>

namespace installer {

class IInstallOps;

// The suffix of the one backup of a system file the installer edits.
constexpr const char kBackupSuffix[] = ".kvrbk";

// Mode of an installed file or directory: programs and scripts 0755, data
// 0644. Nothing the installer leaves is writable by other users, because
// for an installation for all users every login runs these files.
constexpr mode_t kProgramMode = 0755;
constexpr mode_t kDataMode = 0644;
constexpr mode_t kDirMode = 0755;

// kProgramMode when the source has any execute bit, else kDataMode.
mode_t InstalledMode(mode_t sourceMode);

// Whether the path exists (without following a last symbolic link), and
// whether it names a directory (following links).
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* content);

// Sets path's mode unless path is a symbolic link (a link planted in an
// install directory must not make root change the file it points to).
bool SetModeNoFollow(IInstallOps& ops, const std::string& path, mode_t mode, std::string* error);

// Writes content to path through a temporary file beside it (fsync,
// rename); an existing target keeps its mode less group and other write
// permission, a new one gets newMode. path may be a symbolic link to a
// system file: the link stays and its target is replaced.
bool WriteFileReplacing(IInstallOps& ops, const std::string& path, const std::string& content,
                        mode_t newMode, std::string* error);

// Copies from to to through a temporary beside to (see WriteFileReplacing).
bool CopyFileReplacing(IInstallOps& ops, const std::string& from, const std::string& to,
                       mode_t newMode, std::string* error);

// Moves from onto to: rename over the target; on EXDEV a copy into a
// temporary beside the target, renamed over it, then from is removed.
// The moved file gets InstalledMode of its source mode. A symbolic link at
// to is replaced, never followed.
bool MoveFileOver(IInstallOps& ops, const std::string& from, const std::string& to,
                  std::string* error);

// Copies path to path + kBackupSuffix when that backup does not exist yet,
// so it keeps the file as it was before the first installation. True when
// the backup exists afterwards or path itself does not exist.
bool BackupOnce(IInstallOps& ops, const std::string& path, std::string* error);

// Makes a directory with kDirMode, or takes an existing one; an existing
// directory writable by group or others loses that permission (earlier
// installations made them 0777). *made tells whether it was made.
bool EnsureDirectory(IInstallOps& ops, const std::string& path, bool* made, std::string* error);

// text quoted for a POSIX shell: inside single quotes, a quote itself as
// '\''.
std::string ShellQuote(const std::string& text);

}  // namespace installer
