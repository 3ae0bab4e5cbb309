// One instance per Windows session: a named event that the running instance owns.
#pragma once

#include <windows.h>

#include "common/text.h"

namespace jc {

// Returns when no other instance runs, with the event `name` created and owned by this process
// until it ends. Otherwise shows `message` (with `style`), brings the running instance's
// window to the front when it is visible within a few seconds, and ends this process with
// exit code 0.
void EnsureSingleInstance(const Text& name, const Text& message, UINT style);

}  // namespace jc
