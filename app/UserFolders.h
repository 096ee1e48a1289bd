#pragma once
// The per-user base folders of the XDG base directory rules ($XDG_CONFIG_HOME, $XDG_STATE_HOME),
// plain C++ so that the settings and the window state find their files the same way.

#include <string>
#include <string_view>

// The variable's value when it is an absolute path (relative values are to be ignored), else
// $HOME followed by homeRelative; empty when neither is there.
std::string UserBaseFolder(const char* variable, std::string_view homeRelative);

bool IsFolder(const std::string& path);
