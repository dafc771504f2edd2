#pragma once

// A named step of a writer at which a test may have the process killed outright (SIGKILL, as a crash or a power
// cut ends it), set by VARDEL_KILL_AT=NAME in the environment. The writers' promise, that a kill at any moment
// leaves what was saved before or the whole change, is tested at these steps. Without the variable, nothing.
void KillPoint(const char* name);
