// Start with Windows: the program's command as the Run value of its name.
#pragma once

#include <windows.h>

#include "common/text.h"

namespace jc {

// Where Run values go: the machine-wide root first, the user's root where that is denied.
struct RegistryRoots {
  HKEY machine = HKEY_LOCAL_MACHINE;
  HKEY user = HKEY_CURRENT_USER;
};

// Writes the Run value `name` = `command` (REG_SZ) under the machine root; when the machine
// root can't be written (a program that runs as a normal user), under the user's root. Windows
// never gets two values to start the program twice: a machine value written removes the user
// value, and no user value is written beside a machine value that can't be changed. With `remove`, takes the value away from both roots, and where a
// root has no such value, a Run subkey of that name with no subkeys of its own.
// Returns false in every case, as callers ignore it.
bool SetAutostart(const Text& name, const Text& command, bool remove = false,
                  const RegistryRoots& roots = {});

// The command that starts this program: its directory and the file name that the process
// snapshot reports for it, quoted when the path holds a space.
Text ThisProgramsAutostartCommand();

}  // namespace jc
