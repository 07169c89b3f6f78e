// The least work any scan of the USB devices can do, as a yardstick for the tool's
// own run time: list the devices and read each one's three identity attributes.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int main() {
  DIR* dir = opendir("/sys/bus/usb/devices");
  if (dir == nullptr) return 0;
  volatile unsigned long bytes = 0;  // what was read must count, or it could be skipped
  while (const dirent* entry = readdir(dir)) {
    // Interfaces ("1-1:1.0") are not devices; any scan can tell that from the name.
    if (entry->d_name[0] == '.' || std::strchr(entry->d_name, ':') != nullptr) continue;
    static const char* const attributes[] = {"idVendor", "idProduct", "bcdDevice"};
    for (const char* attribute : attributes) {
      char path[512];
      std::snprintf(path, sizeof path, "/sys/bus/usb/devices/%s/%s", entry->d_name, attribute);
      const int fd = open(path, O_RDONLY);
      if (fd < 0) continue;
      char data[8];
      const ssize_t n = read(fd, data, sizeof data);
      if (n > 0) bytes = bytes + static_cast<unsigned long>(n);
      close(fd);
    }
  }
  closedir(dir);
  return 0;
}
