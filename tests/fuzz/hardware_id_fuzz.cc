// Any bytes as the hardware-ID buffer a property read leaves behind, with or without a
// NUL, through the first-ID cut, the uppercasing and the table match: nothing may read
// past the buffer, and exactly the kinds whose fragment is in the first ID are asked about.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "devices/supported_devices.h"
#include "fake_platform.h"
#include "offer/offer_installers.h"
#include "platform/confirm.h"
#include "scan/usb_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // What the input does not fill stays non-NUL, so short inputs can lack a terminator too.
  char buffer[HardwareIdBufferSize];
  std::memset(buffer, 'x', sizeof buffer);
  std::memcpy(buffer, data, std::min(size, sizeof buffer));

  std::string first(buffer, HardwareIdBufferSize - 1);
  first = first.substr(0, first.find('\0'));
  for (char& c : first) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  std::string expected;
  for (int i = 0; SupportedDeviceNames[i] != nullptr; ++i) {
    if (first.find(HardwareIdFragments[i]) != std::string::npos) {
      expected += std::string("confirm Do you to install (") + SupportedDeviceNames[i] + ")?\n";
    }
  }

  fake::Reset();
  fake::script.answers.assign(8, kModalNo);
  OfferInstallers(FirstHardwareId(buffer));
  std::string asked;
  for (const std::string& event : fake::Events({"confirm", "start"})) asked += event + "\n";
  if (asked != expected || !fake::problems.empty()) std::abort();
  return 0;
}
