#pragma once

// A scripted stand-in for every platform concern: tests say which devices exist,
// what the user answers and which commands fail to start, then read back what
// was asked and run, in order.

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace fake {

struct Device {
  std::string property;    // the hardware-ID value, byte for byte
  bool readable = true;    // false: the device has no hardware-ID property
  int32_t enum_error = 0;  // nonzero: enumeration fails here with this code
};

struct Script {
  int32_t open_error = 0;  // nonzero: the device set cannot be opened
  std::vector<Device> devices;
  std::deque<int> answers;                  // modal results, one per question
  std::map<std::string, int> start_errors;  // command -> error code
};

extern Script script;
// "enum <i>", "read <i>", "confirm <prompt>", "start <cmd>", "wait <cmd>", "close <cmd>".
extern std::vector<std::string> events;
// Misuse the fake noticed (an unscripted question, a set opened twice, ...); empty when all went well.
extern std::vector<std::string> problems;

void Reset();

// A device whose property is the given IDs as a multi-string.
Device WithIds(const std::vector<std::string>& ids);

// The events that begin with one of `prefixes`, in order.
std::vector<std::string> Events(const std::vector<std::string>& prefixes);

}  // namespace fake
