#include "scan/usb_scan.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "offer/offer_installers.h"
#include "platform/device_set.h"

const char* FirstHardwareId(char (&buffer)[HardwareIdBufferSize]) {
  // A well-formed multi-string already ends in NULs here; a broken one must not
  // lead the match past the buffer.
  buffer[HardwareIdBufferSize - 1] = '\0';
  return buffer;
}

void ScanUsbDevices() {
  DeviceSet* set = OpenPresentUsbDevices();
  if (set == nullptr) {
    std::printf("SetupDiGetClassDevs failed, error %d\n", static_cast<int>(LastDeviceError()));
    return;
  }
  for (uint32_t index = 0; EnumDevice(set, index); ++index) {
    // Cleared each time so a short read never shows the previous device's bytes.
    char buffer[HardwareIdBufferSize] = {};
    if (ReadHardwareIdProperty(set, buffer, HardwareIdBufferSize)) {
      OfferInstallers(FirstHardwareId(buffer));
    }
  }
  const int32_t error = LastDeviceError();
  if (error != kErrorNoMoreItems) {
    std::printf("SetupDiEnumDeviceInfo failed, error %d\n", static_cast<int>(error));
  }
  CloseDeviceSet(set);
}
