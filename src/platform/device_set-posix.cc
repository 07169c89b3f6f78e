#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

struct NameKey {
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

bool IsFile(int dir, const std::string& path) {
  struct stat info;
  return fstatat(dir, path.c_str(), &info, 0) == 0;
}

// Bounded read of one small attribute; a FIFO, folder or huge file costs nothing.
bool ReadAttribute(const std::string& path, char (&digits)[5]) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info;
  char data[8];
  ssize_t size = -1;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    do size = read(fd, data, sizeof data);
    while (size < 0 && errno == EINTR);
  }
  close(fd);
  return size >= 0 && ParseHexAttribute(data, static_cast<std::size_t>(size), digits);
}

}  // namespace

bool UsbDeviceNameLess(const std::string& a, const std::string& b) {
  const NameKey ka = KeyOf(a);
  const NameKey kb = KeyOf(b);
  // Names of no known form go last, by name, so the order stays the same.
  if (ka.parsed != kb.parsed) return ka.parsed;
  if (!ka.parsed) return a < b;
  if (ka.bus != kb.bus) return ka.bus < kb.bus;
  if (ka.ports != kb.ports) return ka.ports < kb.ports;
  return a < b;
}

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
  DeviceSet* set = new DeviceSet{listFolder, {}, 0};
  errno = 0;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    // Interfaces ("1-1:1.0") sit beside the devices but are not devices.
    if (name[0] == '.' || name.find(':') != std::string::npos) continue;
    if (IsFile(dirfd(dir), name + "/idVendor") && IsFile(dirfd(dir), name + "/idProduct")) {
      set->names.push_back(name);
    }
    errno = 0;
  }
  const int error = errno;
  closedir(dir);
  if (error != 0) {
    delete set;
    g_last_error = error;
    return nullptr;
  }
  std::sort(set->names.begin(), set->names.end(), UsbDeviceNameLess);
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
  const std::string device = set->folder + "/" + set->names[set->selected] + "/";
  char vendor[5], product[5], revision[5];
  if (!ReadAttribute(device + "idVendor", vendor) || !ReadAttribute(device + "idProduct", product) ||
      !ReadAttribute(device + "bcdDevice", revision)) {
    g_last_error = kErrorInvalidData;
    return false;
  }
  // The multi-string Windows keeps for a USB device: the ID with its revision,
  // then without it, then the closing NUL.
  const std::string ids = std::string("USB\\VID_") + vendor + "&PID_" + product;
  std::string value = ids + "&REV_" + revision;
  value.append(1, '\0').append(ids).append(2, '\0');
  if (value.size() > size) {
    g_last_error = kErrorInsufficientBuffer;
    return false;
  }
  std::memcpy(buffer, value.data(), value.size());
  return true;
}

void CloseDeviceSet(DeviceSet* set) { delete set; }

int32_t LastDeviceError() { return g_last_error; }
