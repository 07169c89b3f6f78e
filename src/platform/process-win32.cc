#include <windows.h>

#include <string>

#include "platform/process.h"

static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "STARTUPINFOA is 68 bytes on Win32");

struct Process {
  PROCESS_INFORMATION info;
};

Process* StartProcess(const char* commandLine, int* error) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  // CreateProcessA may write into the command line, and the table's texts are constant.
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    *error = static_cast<int>(GetLastError());
    return nullptr;
  }
  return new Process{info};
}

void WaitForProcess(Process* process) { WaitForSingleObject(process->info.hProcess, INFINITE); }

void CloseProcess(Process* process) {
  CloseHandle(process->info.hProcess);
  CloseHandle(process->info.hThread);
  delete process;
}
