#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/supported_devices.h"
#include "fake_platform.h"
#include "offer/offer_installers.h"
#include "platform/confirm.h"

namespace {

using Events = std::vector<std::string>;

class OfferTest : public testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override {
    EXPECT_TRUE(fake::script.answers.empty()) << "a question was not asked";
    EXPECT_EQ(fake::problems, std::vector<std::string>{});
  }

  static Events Asked() { return fake::Events({"confirm", "start"}); }
};

struct RowCase {
  const char* hardware_id;
  const char* prompt;
  const char* command;
};

// Each kind as a device reports it: the prompt it brings and the script Yes runs.
const RowCase kRows[] = {
    {"USB\\VID_A7C2&PID_E1D0&REV_0100", "Do you to install (Gantry Surface Scanner)?", "installGantryScanner.bat"},
    {"USB\\VID_A7C2&PID_E1D1&REV_0001", "Do you to install (Tarvex Carving Machine)?", "installQuennaCarver.bat"},
    {"USB\\VID_3E91&PID_0C40&REV_0200", "Do you to install (Morvish 2.3 Drivers)?", "installZelbaImager.bat"},
    {"USB\\VID_6B1F&PID_5D20&REV_0100", "Do you to install (Basic Contour Reader Board)?",
     "installBasicContourReader.bat"},
    {"USB\\VID_6B1F&PID_5D21&REV_0100", "Do you to install (KX4 Reader Board)?", "installKX4Reader.bat"},
    {"USB\\VID_A7C2&PID_0F13&REV_0000", "Do you to install (Standard Bulk-USB Driver)?", "installBulkDriver.bat"},
    {"USB\\VID_6B1F&PID_7001&REV_0300", "Do you to install (Standard Serial-Bridge Drivers)?",
     "installSerialBridge.bat"},
    {"USB\\VID_6B1F&PID_5D22&REV_0100", "Do you to install (Camera/Load Analyzer)?", "installLoadViewer.bat"},
};

TEST_F(OfferTest, EachKindBringsItsPromptAndYesRunsItsInstaller) {
  for (const RowCase& row : kRows) {
    SCOPED_TRACE(row.hardware_id);
    fake::Reset();
    fake::script.answers = {kModalYes};
    OfferInstallers(row.hardware_id);
    EXPECT_EQ(fake::Events({"confirm", "start", "wait", "close"}),
              (Events{std::string("confirm ") + row.prompt, std::string("start ") + row.command,
                      std::string("wait ") + row.command, std::string("close ") + row.command}));
  }
}

TEST_F(OfferTest, IdsThatHoldNoWholeFragmentBringNothing) {
  const char* const ids[] = {
      "",                                 // no device text at all
      "USB\\VID_A7C2&PID_E1D2&REV_0100",  // next product number above a supported one
      "USB\\VID_A7C2&PID_FFFF",           // a supported vendor alone is not enough
      "USB\\VID_A7C2&PID_E1D",            // cut short
      "USB\\VID_A7C2 PID_E1D0",           // not the form Windows writes
      "HID\\VID_1234&PID_5678&MI_00",
  };
  for (const char* id : ids) {
    SCOPED_TRACE(id);
    OfferInstallers(id);
    EXPECT_TRUE(fake::events.empty());
  }
  for (int i = 0; SupportedDeviceNames[i] != nullptr; ++i) EXPECT_EQ(OfferedFlags[i], 0) << i;
}

TEST_F(OfferTest, FragmentMatchesAnywhereAndInAnyCase) {
  const char* const ids[] = {
      "USB\\VID_A7C2&PID_E1D0&REV_0100&MI_01",
      "VID_A7C2&PID_E1D0",
      "usb\\vid_a7c2&pid_e1d0&rev_0100",
      "UsB\\Vid_A7c2&PiD_e1D0",
  };
  for (const char* id : ids) {
    SCOPED_TRACE(id);
    fake::Reset();
    fake::script.answers = {kModalNo};
    OfferInstallers(id);
    EXPECT_EQ(Asked(), Events{"confirm Do you to install (Gantry Surface Scanner)?"});
  }
}

TEST_F(OfferTest, IdHoldingTwoFragmentsAsksInRowOrderAfterTheFirstInstallerEnded) {
  fake::script.answers = {kModalYes, kModalYes};
  OfferInstallers("USB\\VID_6B1F&PID_5D22\\VID_A7C2&PID_E1D0");
  EXPECT_EQ(fake::Events({"confirm", "start", "wait", "close"}),
            (Events{"confirm Do you to install (Gantry Surface Scanner)?", "start installGantryScanner.bat",
                    "wait installGantryScanner.bat", "close installGantryScanner.bat",
                    "confirm Do you to install (Camera/Load Analyzer)?", "start installLoadViewer.bat",
                    "wait installLoadViewer.bat", "close installLoadViewer.bat"}));
}

// However the first offer of a kind ends, a later device of that kind is not asked about.
struct FirstOutcome {
  const char* name;
  int answer;
  int start_error;  // nonzero: the installer cannot be started
  Events expected;
};

TEST_F(OfferTest, AKindIsOfferedOncePerRunWhateverTheOutcome) {
  const FirstOutcome outcomes[] = {
      {"yes", kModalYes, 0, {"confirm Do you to install (KX4 Reader Board)?", "start installKX4Reader.bat"}},
      {"no", kModalNo, 0, {"confirm Do you to install (KX4 Reader Board)?"}},
      {"cancel", kModalCancel, 0, {"confirm Do you to install (KX4 Reader Board)?"}},
      {"failed start", kModalYes, 2, {"confirm Do you to install (KX4 Reader Board)?", "start installKX4Reader.bat"}},
  };
  for (const FirstOutcome& outcome : outcomes) {
    SCOPED_TRACE(outcome.name);
    fake::Reset();
    fake::script.answers = {outcome.answer};
    if (outcome.start_error != 0) fake::script.start_errors["installKX4Reader.bat"] = outcome.start_error;
    testing::internal::CaptureStderr();
    OfferInstallers("USB\\VID_6B1F&PID_5D21&REV_0100");
    OfferInstallers("USB\\VID_6B1F&PID_5D21&REV_0200");
    OfferInstallers("usb\\vid_6b1f&pid_5d21");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Asked(), outcome.expected);
    EXPECT_EQ(OfferedFlags[4], 1);
  }
}

TEST_F(OfferTest, FailedStartIsReportedOnStderrAndTheWalkGoesOn) {
  fake::script.answers = {kModalYes, kModalYes};
  fake::script.start_errors["installBasicContourReader.bat"] = 2;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  OfferInstallers("USB\\VID_6B1F&PID_5D20&VID_6B1F&PID_5D22");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(err, "Could not start installBasicContourReader.bat, error 2\n");
  EXPECT_EQ(fake::Events({"confirm", "start", "wait"}),
            (Events{"confirm Do you to install (Basic Contour Reader Board)?", "start installBasicContourReader.bat",
                    "confirm Do you to install (Camera/Load Analyzer)?", "start installLoadViewer.bat",
                    "wait installLoadViewer.bat"}));
}

TEST_F(OfferTest, OfferedKindDoesNotHideOtherKindsInTheSameId) {
  fake::script.answers = {kModalNo, kModalNo};
  OfferInstallers("USB\\VID_A7C2&PID_0F13");
  OfferInstallers("USB\\VID_A7C2&PID_0F13&VID_3E91&PID_0C40");
  EXPECT_EQ(Asked(), (Events{"confirm Do you to install (Standard Bulk-USB Driver)?",
                             "confirm Do you to install (Morvish 2.3 Drivers)?"}));
}

}  // namespace
