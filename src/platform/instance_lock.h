// One running copy per user: a socket bound in the abstract namespace.
#pragma once

#include <string>

// Takes the lock called name (suffixed with the user's id). False when another living
// process holds it. The kernel frees the name when this process ends, however it ends.
bool AcquireInstanceLock(const std::string& name);
// Gives the lock back early (start-up keeps it until the process ends).
void ReleaseInstanceLock();
