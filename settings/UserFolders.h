#pragma once
// The per-user base folders of the XDG base directory rules ($XDG_CONFIG_HOME, $XDG_STATE_HOME)
// and the making of missing folders, plain C++ so that the settings and the window state find
// and make their folders the same way.

#include <string>
#include <string_view>

#include <sys/types.h>

// The variable's value when it is an absolute path (relative values are to be ignored), else
// $HOME followed by homeRelative; empty when neither is there.
std::string UserBaseFolder(const char* variable, std::string_view homeRelative);

bool IsFolder(const std::string& path);

// Makes the folder unless it is there; throws EZorvitError with the reason when it cannot be had.
void MakeFolder(const std::string& path, mode_t mode);

// Makes the folder and its missing parents, each one for the user alone (mode 0700), as the
// XDG base directory rules ask; throws like MakeFolder.
void MakeFolderWithParents(const std::string& path);
