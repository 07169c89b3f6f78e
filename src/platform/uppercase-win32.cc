#include <windows.h>

#include "platform/uppercase.h"

// The system's ANSI code page decides what upper case is, as for any ANSI text.
std::string UppercaseAnsi(const std::string& text) {
  std::string upper = text;
  if (!upper.empty()) CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
  return upper;
}
