#include "devices/supported_devices.h"

#include <iterator>

// Adding a kind: one entry in each column, keeping the null pointer last in the
// first. Fragments are "VID_xxxx&PID_xxxx" with upper-case hex, or they never match.
// clang-format off
const char* const SupportedDeviceNames[] = {
    "Gantry Surface Scanner",
    "Tarvex Carving Machine",
    "Morvish 2.3 Drivers",
    "Basic Contour Reader Board",
    "KX4 Reader Board",
    "Standard Bulk-USB Driver",
    "Standard Serial-Bridge Drivers",
    "Camera/Load Analyzer",
    nullptr,
};

const char* const HardwareIdFragments[] = {
    "VID_A7C2&PID_E1D0",
    "VID_A7C2&PID_E1D1",
    "VID_3E91&PID_0C40",
    "VID_6B1F&PID_5D20",
    "VID_6B1F&PID_5D21",
    "VID_A7C2&PID_0F13",
    "VID_6B1F&PID_7001",
    "VID_6B1F&PID_5D22",
};

const char* const InstallerCommands[] = {
    "installGantryScanner.bat",
    "installQuennaCarver.bat",
    "installZelbaImager.bat",
    "installBasicContourReader.bat",
    "installKX4Reader.bat",
    "installBulkDriver.bat",
    "installSerialBridge.bat",
    "installLoadViewer.bat",
};

// clang-format on

// A row added to one column and not the others would shift every later row.
static_assert(std::size(SupportedDeviceNames) == std::size(HardwareIdFragments) + 1 &&
                  std::size(HardwareIdFragments) == std::size(InstallerCommands),
              "every row needs a name, a fragment and a command");

unsigned char OfferedFlags[std::size(InstallerCommands)] = {};
