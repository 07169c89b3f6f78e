#include "offer/offer_installers.h"

#include <cstring>
#include <string>

#include "devices/supported_devices.h"
#include "offer/run_and_wait.h"
#include "platform/confirm.h"
#include "platform/uppercase.h"

void OfferInstallers(const char* hardwareId) {
  // Fragments are upper case, so one uppercased copy matches IDs in any case.
  const std::string id = UppercaseAnsi(hardwareId);
  for (int i = 0; SupportedDeviceNames[i] != nullptr; ++i) {
    if (OfferedFlags[i] != 0 || std::strstr(id.c_str(), HardwareIdFragments[i]) == nullptr) {
      continue;
    }
    const std::string prompt = std::string("Do you to install (") + SupportedDeviceNames[i] + ")?";
    if (ConfirmYesNo(prompt.c_str()) == kModalYes) {
      RunAndWait(InstallerCommands[i]);
    }
    // Whatever the answer or outcome, a kind is asked about once per run.
    OfferedFlags[i] = 1;
  }
}
