#pragma once

#include <cstdint>

// The present USB devices, taken once when the set is opened. Each platform
// defines DeviceSet; callers only pass it back.
struct DeviceSet;

// Last-error codes the scan tells apart or that the layers report.
constexpr int32_t kErrorInsufficientBuffer = 122;
constexpr int32_t kErrorNoMoreItems = 259;

// Null on failure, with the reason in LastDeviceError().
DeviceSet* OpenPresentUsbDevices();

// Selects the device at `index` for ReadHardwareIdProperty. False when there is
// none; LastDeviceError() is then kErrorNoMoreItems past the end, else a failure.
bool EnumDevice(DeviceSet* set, uint32_t index);

// Reads the selected device's hardware IDs as a multi-string (each ID ended by a
// NUL, one more NUL after the last). False when the device has none, or when the
// whole value, terminators included, needs more than `size` bytes.
bool ReadHardwareIdProperty(DeviceSet* set, char* buffer, uint32_t size);

// Releases the set once the scan is done with it.
void CloseDeviceSet(DeviceSet* set);

// The error of the device call that failed last; read it before any other call.
int32_t LastDeviceError();
