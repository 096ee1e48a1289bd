#pragma once
// The window-state file: what the program remembers between runs that is no setting (the
// window's place and the recently opened files). It lives apart from the settings file, under
// $XDG_STATE_HOME/Zorvit/ ($HOME/.local/state when unset), so the settings file stays as it is.

#include <string>

// $XDG_STATE_HOME/Zorvit, the folder of everything the program keeps between runs; empty when
// neither XDG_STATE_HOME nor HOME names a folder. It is not made here.
std::string AppStateFolder();

// The full name of the state file. The folders on the way that are missing are created, private
// to the user (mode 0700); empty when they cannot be had.
std::string StateFileName();
