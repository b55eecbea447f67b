#pragma once

#include <QString>

namespace PlatformFolders {

// A folder for the user's sockets that no other user can reach:
// $XDG_RUNTIME_DIR when it is an absolute path to a folder (not a link) of
// this user with mode 0700; otherwise "lumaprog-<uid>" in the temporary
// folder, created with mode 0700 when missing and taken only when it passes
// the same test. Empty when neither passes (with a warning on stderr): what
// went there could be read or replaced by another user.
QString privateRuntimeFolder();

}  // namespace PlatformFolders
