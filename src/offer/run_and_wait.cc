#include "offer/run_and_wait.h"

#include <cstdio>

#include "platform/process.h"

bool RunAndWait(const char* commandLine) {
  int error = 0;
  Process* process = StartProcess(commandLine, &error);
  if (process == nullptr) {
    // The user said Yes and nothing ran: say so, without touching stdout.
    std::fprintf(stderr, "Could not start %s, error %d\n", commandLine, error);
    return false;
  }
  WaitForProcess(process);
  CloseProcess(process);
  return true;
}
