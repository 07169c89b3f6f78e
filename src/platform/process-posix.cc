#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/process.h"

extern char** environ;

struct Process {
  pid_t pid;
};

namespace {

std::string OwnFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return std::string();
  const std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The tool's own folder, then the absolute folders of PATH. Never the working
// folder: as root, a script planted there must not run in an installer's place.
std::string FindCommand(const std::string& name) {
  const std::string own = OwnFolder();
  if (!own.empty() && IsRegularFile(own + "/" + name)) return own + "/" + name;
  const char* path = std::getenv("PATH");
  for (const char* p = path ? path : ""; *p != '\0';) {
    const char* end = p;
    while (*end != '\0' && *end != ':') ++end;
    const std::string folder(p, end);
    if (!folder.empty() && folder[0] == '/' && IsRegularFile(folder + "/" + name)) return folder + "/" + name;
    p = *end == ':' ? end + 1 : end;
  }
  return std::string();
}

int Spawn(pid_t* pid, const char* program, const char* argv0, const char* argv1) {
  char* argv[] = {const_cast<char*>(argv0), const_cast<char*>(argv1), nullptr};
  return posix_spawn(pid, program, nullptr, nullptr, argv, environ);
}

}  // namespace

Process* StartProcess(const char* commandLine, int* error) {
  const std::string path = FindCommand(commandLine);
  if (path.empty()) {
    *error = ENOENT;
    return nullptr;
  }
  // The child shares our stdout; what we wrote must come out before its output.
  std::fflush(nullptr);
  pid_t pid = 0;
  int result = ENOEXEC;
  if (access(path.c_str(), X_OK) == 0) result = Spawn(&pid, path.c_str(), commandLine, nullptr);
  // Scripts without execute permission or without a #! line run as shell scripts.
  if (result == ENOEXEC) result = Spawn(&pid, "/bin/sh", "sh", path.c_str());
  if (result != 0) {
    *error = result;
    return nullptr;
  }
  return new Process{pid};
}

void WaitForProcess(Process* process) {
  int status = 0;
  while (waitpid(process->pid, &status, 0) < 0 && errno == EINTR) {
  }
}

void CloseProcess(Process* process) { delete process; }
