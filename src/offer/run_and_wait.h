#pragma once

// Runs `commandLine` and blocks until its process has ended. False when the
// process could not be started; that is also reported on standard error.
bool RunAndWait(const char* commandLine);
