#pragma once

// The device kinds this tool can install, as parallel columns indexed by row.
// The null entry after the last display name is the table's only length: walk
// SupportedDeviceNames until it and read the other columns only for rows before it.
extern const char* const SupportedDeviceNames[];
extern const char* const HardwareIdFragments[];
extern const char* const InstallerCommands[];
// 0 until the row has been offered in this run; only the offer writes it.
extern unsigned char OfferedFlags[];
