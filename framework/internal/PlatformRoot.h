// PlatformRoot.h: the prefix under which the framework looks for the files of
// the running system it only probes (the distribution's release files, the
// web browsers). It is empty in the programs, so "/etc/redhat-release" means
// that file; a test points it at a scratch tree to stage a system of its own.
#pragma once

#include <string>

namespace afc {

// The current prefix ("" by default). No trailing '/'.
const std::string& PlatformRoot();

// Sets the prefix; returns the previous one. Tests only.
std::string SetPlatformRootForTest(const std::string& root);

// PlatformRoot() + absolutePath.
std::string UnderPlatformRoot(const char* absolutePath);

}  // namespace afc
