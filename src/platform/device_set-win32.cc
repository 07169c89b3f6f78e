#include <windows.h>
#include <setupapi.h>

#include "platform/device_set.h"

// The record layout the 32-bit Setup API expects.
static_assert(sizeof(void*) != 4 || sizeof(SP_DEVINFO_DATA) == 28, "SP_DEVINFO_DATA is 28 bytes on Win32");

struct DeviceSet {
  HDEVINFO info;
  SP_DEVINFO_DATA record;  // the device the last EnumDevice selected
};

namespace {
// Taken right after the call that failed, before anything else can reset it.
DWORD g_last_error = 0;
}  // namespace

DeviceSet* OpenPresentUsbDevices() {
  const HDEVINFO info = SetupDiGetClassDevsA(nullptr, "USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (info == INVALID_HANDLE_VALUE) {
    g_last_error = GetLastError();
    return nullptr;
  }
  return new DeviceSet{info, {}};
}

bool EnumDevice(DeviceSet* set, uint32_t index) {
  ZeroMemory(&set->record, sizeof set->record);
  set->record.cbSize = sizeof set->record;
  if (!SetupDiEnumDeviceInfo(set->info, index, &set->record)) {
    g_last_error = GetLastError();
    return false;
  }
  return true;
}

bool ReadHardwareIdProperty(DeviceSet* set, char* buffer, uint32_t size) {
  if (!SetupDiGetDeviceRegistryPropertyA(set->info, &set->record, SPDRP_HARDWAREID, nullptr,
                                         reinterpret_cast<PBYTE>(buffer), size, nullptr)) {
    g_last_error = GetLastError();
    return false;
  }
  return true;
}

void CloseDeviceSet(DeviceSet* set) {
  SetupDiDestroyDeviceInfoList(set->info);
  delete set;
}

int32_t LastDeviceError() { return static_cast<int32_t>(g_last_error); }
