// Any bytes as an identity attribute file: accepted exactly when they are four hex
// digits with at most one newline, and then handed on upper-cased.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/sysfs_usb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  bool valid = size == 4 || (size == 5 && text[4] == '\n');
  for (size_t i = 0; valid && i < 4; ++i) valid = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;

  char digits[5] = "????";
  if (ParseHexAttribute(text, size, digits) != valid) std::abort();
  if (valid) {
    for (size_t i = 0; i < 4; ++i) {
      if (digits[i] != std::toupper(static_cast<unsigned char>(text[i]))) std::abort();
    }
    if (digits[4] != '\0') std::abort();
  }
  return 0;
}
