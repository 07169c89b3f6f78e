#include "platform/sysfs_usb.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/device_set.h"

namespace {

// A throw-away sysfs-like tree: devices are folders holding attribute files.
class SysfsTree : public testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/usboffer-sysfs-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    root_ = folder;
    list_ = root_ + "/devices";
    ASSERT_EQ(mkdir(list_.c_str(), 0755), 0);
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + root_ + "'").c_str()), 0); }

  void Write(const std::string& relative, const std::string& content) {
    std::ofstream(list_ + "/" + relative, std::ios::binary) << content;
  }
  void Device(const std::string& name, const char* vendor, const char* product, const char* revision) {
    ASSERT_EQ(mkdir((list_ + "/" + name).c_str(), 0755), 0);
    if (vendor) Write(name + "/idVendor", vendor);
    if (product) Write(name + "/idProduct", product);
    if (revision) Write(name + "/bcdDevice", revision);
  }

  // Every device of the set as (index, first hardware ID or "<unreadable>").
  std::vector<std::string> Read() {
    std::vector<std::string> seen;
    DeviceSet* set = OpenUsbDeviceSetAt(list_.c_str());
    EXPECT_NE(set, nullptr);
    if (set == nullptr) return seen;
    uint32_t index = 0;
    for (; EnumDevice(set, index); ++index) {
      char buffer[100];
      seen.push_back(ReadHardwareIdProperty(set, buffer, sizeof buffer) ? std::string(buffer) : "<unreadable>");
    }
    EXPECT_EQ(LastDeviceError(), kErrorNoMoreItems);
    CloseDeviceSet(set);
    return seen;
  }

  std::string root_;
  std::string list_;
};

TEST_F(SysfsTree, DevicesComeInBusAndPortOrderWithoutInterfaces) {
  const char* const names[] = {"2-1", "1-10", "usb2", "1-2", "1-1.2", "usb1", "1-1"};
  for (int i = 0; i < 7; ++i) {
    char product[5];
    snprintf(product, sizeof product, "%04d", i);
    Device(names[i], "abcd\n", product, "0100\n");
  }
  Device("1-1:1.0", "abcd\n", "9999\n", "0100\n");  // an interface, even one that looks like a device
  Device("1-3", nullptr, nullptr, nullptr);         // no identity: listed, but never read as a device
  EXPECT_EQ(Read(), (std::vector<std::string>{
                        "USB\\VID_ABCD&PID_0005&REV_0100",  // usb1
                        "USB\\VID_ABCD&PID_0006&REV_0100",  // 1-1
                        "USB\\VID_ABCD&PID_0004&REV_0100",  // 1-1.2
                        "USB\\VID_ABCD&PID_0003&REV_0100",  // 1-2
                        "<unreadable>",                     // 1-3
                        "USB\\VID_ABCD&PID_0001&REV_0100",  // 1-10
                        "USB\\VID_ABCD&PID_0002&REV_0100",  // usb2
                        "USB\\VID_ABCD&PID_0000&REV_0100",  // 2-1
                    }));
}

TEST_F(SysfsTree, PropertyIsTheMultiStringWindowsWrites) {
  Device("3-4", "a7c2\n", "e1d0\n", "0a01\n");
  DeviceSet* set = OpenUsbDeviceSetAt(list_.c_str());
  ASSERT_NE(set, nullptr);
  ASSERT_TRUE(EnumDevice(set, 0));
  char buffer[100];
  ASSERT_TRUE(ReadHardwareIdProperty(set, buffer, sizeof buffer));
  const char expected[] = "USB\\VID_A7C2&PID_E1D0&REV_0A01\0USB\\VID_A7C2&PID_E1D0\0";  // + the literal's NUL
  EXPECT_EQ(std::string(buffer, sizeof expected), std::string(expected, sizeof expected));
  // The same 53 bytes must fit a buffer of that size exactly, and not one byte less.
  EXPECT_TRUE(ReadHardwareIdProperty(set, buffer, sizeof expected));
  EXPECT_FALSE(ReadHardwareIdProperty(set, buffer, sizeof expected - 1));
  EXPECT_EQ(LastDeviceError(), kErrorInsufficientBuffer);
  EXPECT_FALSE(EnumDevice(set, 1));
  EXPECT_EQ(LastDeviceError(), kErrorNoMoreItems);
  CloseDeviceSet(set);
}

TEST_F(SysfsTree, BadAttributesMakeOnlyThatDeviceUnreadable) {
  Device("1-1", "a7c2\n", "e1d0\n", nullptr);    // no revision
  Device("1-2", "a7c2", "e1d0", "0100");         // no newline is fine
  Device("1-3", "a7c\n", "e1d0\n", "0100\n");    // three digits
  Device("1-4", "a7c20\n", "e1d0\n", "0100\n");  // five digits
  Device("1-5", "a7g2\n", "e1d0\n", "0100\n");   // not hex
  Device("1-6", "", "e1d0\n", "0100\n");         // empty
  Device("1-7", nullptr, "e1d0\n", "0100\n");
  Write("1-7/idVendor", std::string("a7\0"
                                    "2\n",
                                    5));          // a NUL inside
  Device("1-8", "a7c2\n\n", "e1d0\n", "0100\n");  // two newlines
  Device("1-9", "A7C2\n", "E1D0\n", "0100\n");    // upper case is fine too
  Device("1-10", "a7c2\n", "e1d0\n", nullptr);
  ASSERT_EQ(mkdir((list_ + "/1-10/bcdDevice").c_str(), 0755), 0);  // a folder in place of a file
  Device("1-11", "a7c2\n", "e1d0\n", nullptr);
  Write("1-11/bcdDevice", std::string(1 << 20, '0'));  // huge
  const std::vector<std::string> seen = Read();
  EXPECT_EQ(seen,
            (std::vector<std::string>{"<unreadable>", "USB\\VID_A7C2&PID_E1D0&REV_0100", "<unreadable>", "<unreadable>",
                                      "<unreadable>", "<unreadable>", "<unreadable>", "<unreadable>",
                                      "USB\\VID_A7C2&PID_E1D0&REV_0100", "<unreadable>", "<unreadable>"}));
}

TEST_F(SysfsTree, MissingListIsEmptyButAnUnreadableOneFails) {
  DeviceSet* set = OpenUsbDeviceSetAt((root_ + "/absent").c_str());
  ASSERT_NE(set, nullptr);
  EXPECT_FALSE(EnumDevice(set, 0));
  EXPECT_EQ(LastDeviceError(), kErrorNoMoreItems);
  CloseDeviceSet(set);

  Write("not-a-folder", "x");
  EXPECT_EQ(OpenUsbDeviceSetAt((list_ + "/not-a-folder").c_str()), nullptr);
  EXPECT_EQ(LastDeviceError(), ENOTDIR);
}

TEST_F(SysfsTree, StrangeEntriesNeverReadAsDevices) {
  Device("1-1", "a7c2\n", "e1d0\n", "0100\n");
  ASSERT_EQ(symlink("1-loop", (list_ + "/1-loop").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (list_ + "/1-dangling").c_str()), 0);
  ASSERT_EQ(symlink("1-1", (list_ + "/1-5").c_str()), 0);  // a link to a device is a device
  Write("1-plain", "a7c2\n");
  ASSERT_EQ(mkdir((list_ + "/1-empty").c_str(), 0755), 0);
  // Links to a device are devices; the rest come last, by name, and cannot be read.
  EXPECT_EQ(Read(), (std::vector<std::string>{"USB\\VID_A7C2&PID_E1D0&REV_0100", "USB\\VID_A7C2&PID_E1D0&REV_0100",
                                              "<unreadable>", "<unreadable>", "<unreadable>", "<unreadable>"}));
}

TEST(UsbDeviceNameLess, OrdersByBusThenPortNumbers) {
  std::vector<std::string> names = {"x",     "10-1", "2-1", "1-1.10", "1-1.2", "1-1",
                                    "usb10", "usb1", "1-9", "usb",    "1-",    "9999999999-1"};
  std::sort(names.begin(), names.end(), UsbDeviceNameLess);
  EXPECT_EQ(names, (std::vector<std::string>{"usb1", "1-1", "1-1.2", "1-1.10", "1-9", "2-1", "usb10", "10-1", "1-",
                                             "9999999999-1", "usb", "x"}));
}

}  // namespace
