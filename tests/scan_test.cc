#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/confirm.h"
#include "scan/usb_scan.h"

namespace {

using Events = std::vector<std::string>;

const char kGantry[] = "USB\\VID_A7C2&PID_E1D0&REV_0100";
const char kBulk[] = "USB\\VID_A7C2&PID_0F13&REV_0100";
const char kSerial[] = "USB\\VID_6B1F&PID_7001&REV_0100";
const char kGantryPrompt[] = "confirm Do you to install (Gantry Surface Scanner)?";
const char kBulkPrompt[] = "confirm Do you to install (Standard Bulk-USB Driver)?";
const char kSerialPrompt[] = "confirm Do you to install (Standard Serial-Bridge Drivers)?";

class ScanTest : public testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override {
    EXPECT_TRUE(fake::script.answers.empty()) << "a question was not asked";
    EXPECT_EQ(fake::problems, std::vector<std::string>{});
  }

  // Runs the scan and returns what it wrote on standard output.
  static std::string Scan() {
    testing::internal::CaptureStdout();
    ScanUsbDevices();
    return testing::internal::GetCapturedStdout();
  }
  static Events Prompts() { return fake::Events({"confirm"}); }
};

TEST_F(ScanTest, NoDeviceMeansNoQuestionAndNoOutput) {
  EXPECT_EQ(Scan(), "");
  EXPECT_EQ(fake::events, (Events{"open", "enum 0", "close set"}));
}

TEST_F(ScanTest, UnopenableSetPrintsOneLineAndEnumeratesNothing) {
  const struct {
    int32_t code;
    const char* line;
  } cases[] = {
      {5, "SetupDiGetClassDevs failed, error 5\n"},
      {static_cast<int32_t>(0xE000020Bu), "SetupDiGetClassDevs failed, error -536870389\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    fake::Reset();
    fake::script.open_error = c.code;
    EXPECT_EQ(Scan(), c.line);
    EXPECT_EQ(fake::events, Events{"open"});
  }
}

TEST_F(ScanTest, EnumerationFailureStopsTheScanAfterEarlierDevicesWereOffered) {
  fake::script.devices = {fake::WithIds({kGantry}), fake::WithIds({"USB\\VID_1111&PID_2222"}), fake::WithIds({kBulk}),
                          fake::Device{"", true, 1784}, fake::WithIds({kSerial})};
  fake::script.answers = {kModalNo, kModalNo};
  EXPECT_EQ(Scan(), "SetupDiEnumDeviceInfo failed, error 1784\n");
  EXPECT_EQ(Prompts(), (Events{kGantryPrompt, kBulkPrompt}));
  EXPECT_EQ(fake::Events({"enum"}), (Events{"enum 0", "enum 1", "enum 2", "enum 3"}));
}

TEST_F(ScanTest, DevicesWhosePropertyCannotBeReadAreSkippedSilently) {
  fake::Device missing;
  missing.readable = false;
  fake::script.devices = {missing, fake::WithIds({kGantry, std::string(70, 'X')}), fake::WithIds({kBulk})};
  fake::script.answers = {kModalNo};
  EXPECT_EQ(Scan(), "");
  EXPECT_EQ(fake::Events({"read"}), (Events{"read 0", "read 1", "read 2"}));
  EXPECT_EQ(Prompts(), Events{kBulkPrompt});
}

TEST_F(ScanTest, WholeValueMustFitTheHundredBytes) {
  // First ID 98 bytes long: with its NUL and the closing NUL the value is exactly 100.
  const std::string id = std::string(kGantry) + std::string(98 - sizeof kGantry + 1, '0');
  fake::script.devices = {fake::WithIds({id}), fake::WithIds({id + "1"}), fake::WithIds({kBulk})};
  ASSERT_EQ(fake::script.devices[0].property.size(), 100u);
  ASSERT_EQ(fake::script.devices[1].property.size(), 101u);
  fake::script.answers = {kModalNo, kModalNo};
  EXPECT_EQ(Scan(), "");
  EXPECT_EQ(Prompts(), (Events{kGantryPrompt, kBulkPrompt}));
}

TEST_F(ScanTest, OnlyTheFirstIdOfTheListCounts) {
  fake::script.devices = {fake::WithIds({"USB\\VID_1111&PID_2222&REV_0001", "USB\\VID_A7C2&PID_E1D0"}),
                          fake::WithIds({kSerial, kGantry})};
  fake::script.answers = {kModalNo};
  Scan();
  EXPECT_EQ(Prompts(), Events{kSerialPrompt});
}

TEST_F(ScanTest, DevicesAreOfferedInEnumerationOrderAndEachKindOnce) {
  fake::script.devices = {fake::WithIds({kBulk}), fake::WithIds({kGantry}), fake::WithIds({kBulk}),
                          fake::WithIds({kGantry})};
  fake::script.answers = {kModalYes, kModalNo};
  EXPECT_EQ(Scan(), "");
  EXPECT_EQ(fake::Events({"confirm", "start", "wait", "read"}),
            (Events{"read 0", kBulkPrompt, "start installBulkDriver.bat", "wait installBulkDriver.bat", "read 1",
                    kGantryPrompt, "read 2", "read 3"}));
}

TEST_F(ScanTest, PropertyWithoutAnyNulNeverLeadsPastTheBuffer) {
  // 100 bytes, no terminator, a fragment that only the byte past the end would complete.
  std::string raw(83, 'X');
  raw += "VID_A7C2&PID_E1D0";
  ASSERT_EQ(raw.size(), 100u);
  fake::Device device;
  device.property = raw;
  // A short read with no terminator must not be completed by the previous device's bytes.
  fake::Device shorter;
  shorter.property = "VID_A7C2&PID_E1D";
  fake::script.devices = {fake::WithIds({std::string(16, 'Y') + "0"}), shorter, device, fake::WithIds({kBulk})};
  fake::script.answers = {kModalNo};
  EXPECT_EQ(Scan(), "");
  EXPECT_EQ(Prompts(), Events{kBulkPrompt});
}

TEST(FirstHardwareId, EndsWithinTheBuffer) {
  char buffer[HardwareIdBufferSize];
  std::fill(buffer, buffer + sizeof buffer, 'A');
  EXPECT_EQ(std::string(FirstHardwareId(buffer)), std::string(HardwareIdBufferSize - 1, 'A'));
  std::memcpy(buffer, "ID\0REST", 7);
  EXPECT_EQ(std::string(FirstHardwareId(buffer)), "ID");
}

}  // namespace
