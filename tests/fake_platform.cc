#include "fake_platform.h"

#include <cstring>

#include "devices/supported_devices.h"
#include "platform/confirm.h"
#include "platform/device_set.h"
#include "platform/process.h"

struct DeviceSet {
  uint32_t selected = 0;
};

struct Process {
  std::string command;
};

namespace fake {

Script script;
std::vector<std::string> events;
std::vector<std::string> problems;

namespace {
DeviceSet the_set;
int32_t last_error = 0;
bool set_open = false;
}  // namespace

void Reset() {
  script = Script();
  events.clear();
  problems.clear();
  last_error = 0;
  set_open = false;
  for (int i = 0; SupportedDeviceNames[i] != nullptr; ++i) OfferedFlags[i] = 0;
}

Device WithIds(const std::vector<std::string>& ids) {
  Device device;
  for (const std::string& id : ids) device.property.append(id).append(1, '\0');
  device.property.append(1, '\0');
  return device;
}

std::vector<std::string> Events(const std::vector<std::string>& prefixes) {
  std::vector<std::string> chosen;
  for (const std::string& event : events) {
    for (const std::string& prefix : prefixes) {
      if (event.compare(0, prefix.size(), prefix) == 0) {
        chosen.push_back(event);
        break;
      }
    }
  }
  return chosen;
}

}  // namespace fake

using fake::events;
using fake::script;

namespace {
void Expect(bool condition, const std::string& problem) {
  if (!condition) fake::problems.push_back(problem);
}
}  // namespace

DeviceSet* OpenPresentUsbDevices() {
  events.push_back("open");
  if (script.open_error != 0) {
    fake::last_error = script.open_error;
    return nullptr;
  }
  Expect(!fake::set_open, "the device set was opened twice");
  fake::set_open = true;
  return &fake::the_set;
}

bool EnumDevice(DeviceSet* set, uint32_t index) {
  Expect(set == &fake::the_set, "enumerated an unknown set");
  events.push_back("enum " + std::to_string(index));
  if (index >= script.devices.size()) {
    fake::last_error = kErrorNoMoreItems;
    return false;
  }
  if (script.devices[index].enum_error != 0) {
    fake::last_error = script.devices[index].enum_error;
    return false;
  }
  set->selected = index;
  return true;
}

bool ReadHardwareIdProperty(DeviceSet* set, char* buffer, uint32_t size) {
  events.push_back("read " + std::to_string(set->selected));
  Expect(set == &fake::the_set, "read from an unknown set");
  const fake::Device& device = script.devices.at(set->selected);
  if (!device.readable) {
    fake::last_error = 13;
    return false;
  }
  if (device.property.size() > size) {
    fake::last_error = kErrorInsufficientBuffer;
    return false;
  }
  std::memcpy(buffer, device.property.data(), device.property.size());
  return true;
}

void CloseDeviceSet(DeviceSet* set) {
  Expect(set == &fake::the_set && fake::set_open, "closed a set that is not open");
  fake::set_open = false;
  events.push_back("close set");
}

int32_t LastDeviceError() { return fake::last_error; }

int ConfirmYesNo(const char* prompt) {
  events.push_back(std::string("confirm ") + prompt);
  if (script.answers.empty()) {
    fake::problems.push_back(std::string("unscripted question: ") + prompt);
    return kModalCancel;
  }
  const int answer = script.answers.front();
  script.answers.pop_front();
  return answer;
}

Process* StartProcess(const char* commandLine, int* error) {
  events.push_back(std::string("start ") + commandLine);
  const auto failure = script.start_errors.find(commandLine);
  if (failure != script.start_errors.end()) {
    *error = failure->second;
    return nullptr;
  }
  return new Process{commandLine};
}

void WaitForProcess(Process* process) { events.push_back("wait " + process->command); }

void CloseProcess(Process* process) {
  events.push_back("close " + process->command);
  delete process;
}
