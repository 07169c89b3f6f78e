#pragma once

// A started child process; each platform defines it.
struct Process;

// Starts `commandLine` (a bare command name) as a child that shares this
// program's console, environment and working folder. Null on failure, with the
// platform's error code in *error.
Process* StartProcess(const char* commandLine, int* error);

// Blocks, without a time-out, until the process has ended.
void WaitForProcess(Process* process);

// Releases what StartProcess handed out; `process` is gone afterwards.
void CloseProcess(Process* process);
