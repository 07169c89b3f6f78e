#include "platform/uppercase.h"

// ASCII letters only: with no code page to go by, other bytes stay as they are.
std::string UppercaseAnsi(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}
