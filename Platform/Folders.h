#pragma once

#include <QString>

// Where the desktop keeps a user's files, by the XDG base-directory rules.
namespace PlatformFolders {

// The user's home folder, without a trailing separator.
QString homeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else the home folder + "/.config";
// empty when no home folder is known either.
QString userConfigFolder();

}  // namespace PlatformFolders
