#pragma once

// The Linux view of USB devices, exposed so that tests can point it at a tree of
// their own; the tool itself always reads kUsbDeviceList.

#include <cstddef>
#include <string>

struct DeviceSet;

constexpr const char* kUsbDeviceList = "/sys/bus/usb/devices";

// Snapshot of the entries listed in `listFolder` other than interfaces, in bus and
// port order; an entry that is no device fails its property read. A missing folder
// is an empty set; any other failure to list it is null.
DeviceSet* OpenUsbDeviceSetAt(const char* listFolder);

// Whether `a` comes before `b` in scan order: by bus, the root hub "usbN"
// first, then by port path compared number by number ("1-2" before "1-10").
bool UsbDeviceNameLess(const std::string& a, const std::string& b);

// Parses an identity attribute as the kernel writes it: exactly four hex digits
// and at most one newline. On success `digits` holds them upper-cased.
bool ParseHexAttribute(const char* data, std::size_t size, char (&digits)[5]);
