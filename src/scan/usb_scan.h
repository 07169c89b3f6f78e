#pragma once

#include <cstddef>

constexpr std::size_t HardwareIdBufferSize = 100;

// Ends the first hardware ID inside the buffer, whatever a device wrote there,
// and returns it.
const char* FirstHardwareId(char (&buffer)[HardwareIdBufferSize]);

// Lists the present USB devices once and offers installers for each readable
// hardware ID, in enumeration order. Its only output is one error line on
// stdout when the device list cannot be had or walked.
void ScanUsbDevices();
