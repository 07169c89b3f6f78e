#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/device_set.h"
#include "platform/sysfs_usb.h"

struct DeviceSet {
  std::string folder;
  std::vector<std::string> names;
  std::size_t selected = 0;
};

namespace {

int32_t g_last_error = 0;

// Platform codes this layer reports for a device it cannot describe.
constexpr int32_t kErrorInvalidData = 13;

// Where a list entry stands in scan order, worked out once per entry.
struct NameKey {
  std::string name;
  bool parsed = false;
  unsigned long bus = 0;
  std::vector<unsigned long> ports;  // empty for the root hub
};

// Reads a decimal number of at most nine digits; hostile names stay bounded.
bool ReadNumber(const char*& p, unsigned long& value) {
  const char* start = p;
  value = 0;
  while (*p >= '0' && *p <= '9' && p - start < 9) value = value * 10 + static_cast<unsigned long>(*p++ - '0');
  return p != start && !(*p >= '0' && *p <= '9');
}

NameKey KeyOf(const std::string& name) {
  NameKey key;
  key.name = name;
  const char* p = name.c_str();
  if (std::strncmp(p, "usb", 3) == 0) {
    p += 3;
    key.parsed = ReadNumber(p, key.bus) && *p == '\0';
    return key;
  }
  if (!ReadNumber(p, key.bus) || *p != '-') return key;
  do {
    ++p;
    unsigned long port = 0;
    if (!ReadNumber(p, port)) return key;
    key.ports.push_back(port);
  } while (*p == '.');
  key.parsed = *p == '\0';
  return key;
}

// Bounded read of one small attribute. A huge file costs one short read; a folder
// fails to read, and a FIFO cannot block a non-blocking read.
bool ReadAttribute(const std::string& path, char (&digits)[5]) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  char data[8];
  ssize_t size;
  do size = read(fd, data, sizeof data);
  while (size < 0 && errno == EINTR);
  close(fd);
  return size >= 0 && ParseHexAttribute(data, static_cast<std::size_t>(size), digits);
}

bool KeyLess(const NameKey& a, const NameKey& b) {
  // Names of no known form go last, by name, so the order stays the same.
  if (a.parsed != b.parsed) return a.parsed;
  if (!a.parsed) return a.name < b.name;
  if (a.bus != b.bus) return a.bus < b.bus;
  if (a.ports != b.ports) return a.ports < b.ports;
  return a.name < b.name;
}

}  // namespace

bool UsbDeviceNameLess(const std::string& a, const std::string& b) { return KeyLess(KeyOf(a), KeyOf(b)); }

bool ParseHexAttribute(const char* data, std::size_t size, char (&digits)[5]) {
  if (size == 5 && data[4] == '\n') size = 4;
  if (size != 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    const char c = data[i];
    if (c >= '0' && c <= '9') {
      digits[i] = c;
    } else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
      digits[i] = static_cast<char>(c & ~0x20);
    } else {
      return false;
    }
  }
  digits[4] = '\0';
  return true;
}

DeviceSet* OpenUsbDeviceSetAt(const char* listFolder) {
  DIR* dir = opendir(listFolder);
  if (dir == nullptr) {
    if (errno == ENOENT) return new DeviceSet{listFolder, {}, 0};  // no USB support
    g_last_error = errno;
    return nullptr;
  }
  std::vector<NameKey> entries;
  errno = 0;
  while (const dirent* entry = readdir(dir)) {
    // Interfaces ("1-1:1.0") sit beside the devices but are not devices. Any other
    // entry without identity attributes fails its property read and is skipped then,
    // which saves looking into every entry twice.
    if (entry->d_name[0] != '.' && std::strchr(entry->d_name, ':') == nullptr) entries.push_back(KeyOf(entry->d_name));
    errno = 0;
  }
  const int error = errno;
  closedir(dir);
  if (error != 0) {
    g_last_error = error;
    return nullptr;
  }
  std::sort(entries.begin(), entries.end(), KeyLess);
  DeviceSet* set = new DeviceSet{listFolder, {}, 0};
  for (NameKey& entry : entries) set->names.push_back(std::move(entry.name));
  return set;
}

DeviceSet* OpenPresentUsbDevices() { return OpenUsbDeviceSetAt(kUsbDeviceList); }

bool EnumDevice(DeviceSet* set, uint32_t index) {
  if (index >= set->names.size()) {
    g_last_error = kErrorNoMoreItems;
    return false;
  }
  set->selected = index;
  return true;
}

bool ReadHardwareIdProperty(DeviceSet* set, char* buffer, uint32_t size) {
  std::string path = set->folder + "/" + set->names[set->selected] + "/";
  const std::size_t folder_length = path.size();
  auto read = [&](const char* attribute, char(&digits)[5]) {
    path.replace(folder_length, std::string::npos, attribute);
    return ReadAttribute(path, digits);
  };
  char vendor[5], product[5], revision[5];
  if (!read("idVendor", vendor) || !read("idProduct", product) || !read("bcdDevice", revision)) {
    g_last_error = kErrorInvalidData;
    return false;
  }
  // The multi-string Windows keeps for a USB device: the ID with its revision,
  // then without it, then the closing NUL.
  char value[64];
  const int length = std::snprintf(value, sizeof value, "USB\\VID_%s&PID_%s&REV_%s%cUSB\\VID_%s&PID_%s%c%c", vendor,
                                   product, revision, '\0', vendor, product, '\0', '\0');
  if (length < 0 || static_cast<uint32_t>(length) > size) {
    g_last_error = kErrorInsufficientBuffer;
    return false;
  }
  std::memcpy(buffer, value, static_cast<std::size_t>(length));
  return true;
}

void CloseDeviceSet(DeviceSet* set) { delete set; }

int32_t LastDeviceError() { return g_last_error; }
