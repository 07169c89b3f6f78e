#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "offer/run_and_wait.h"
#include "platform/process.h"

namespace {

// Scripts in a PATH folder of their own, and a separate working folder.
class ProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/usboffer-process-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    root_ = folder;
    bin_ = root_ + "/bin";
    work_ = root_ + "/work";
    ASSERT_EQ(mkdir(bin_.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(work_.c_str(), 0755), 0);
    const char* path = std::getenv("PATH");
    old_path_ = path ? path : "";
    setenv("PATH", ("relative:" + bin_ + "::/usr/bin:/bin").c_str(), 1);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    old_cwd_ = cwd;
    ASSERT_EQ(chdir(work_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(old_cwd_.c_str()), 0);
    setenv("PATH", old_path_.c_str(), 1);
    ASSERT_EQ(std::system(("rm -rf '" + root_ + "'").c_str()), 0);
  }

  static void Script(const std::string& path, const std::string& body, mode_t mode) {
    std::ofstream(path) << body;
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
  }
  bool Exists(const std::string& name) const { return access((root_ + "/" + name).c_str(), F_OK) == 0; }

  std::string root_, bin_, work_, old_path_, old_cwd_;
};

TEST_F(ProcessTest, RunAndWaitReturnsOnlyAfterTheScriptEnded) {
  Script(bin_ + "/installSlow.bat", "#!/bin/sh\nsleep 0.3\ntouch '" + root_ + "/done'\n", 0755);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(RunAndWait("installSlow.bat"));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_TRUE(Exists("done"));
}

TEST_F(ProcessTest, ScriptsWithoutExecuteBitOrShebangRunThroughTheShell) {
  Script(bin_ + "/installPlain.bat", "touch \"$(dirname \"$0\")/../plain\"\n", 0644);
  Script(bin_ + "/installNoShebang.bat", "touch \"$(dirname \"$0\")/../noshebang\"\n", 0755);
  EXPECT_TRUE(RunAndWait("installPlain.bat"));
  EXPECT_TRUE(RunAndWait("installNoShebang.bat"));
  EXPECT_TRUE(Exists("plain"));
  EXPECT_TRUE(Exists("noshebang"));
}

TEST_F(ProcessTest, ChildSharesWorkingFolderAndEnvironment) {
  setenv("USBOFFER_TEST_MARK", "shared", 1);
  Script(bin_ + "/installEnv.bat", "#!/bin/sh\nprintf '%s' \"$USBOFFER_TEST_MARK\" > env-seen\n", 0755);
  EXPECT_TRUE(RunAndWait("installEnv.bat"));
  unsetenv("USBOFFER_TEST_MARK");
  std::ifstream seen(work_ + "/env-seen");
  std::string text;
  std::getline(seen, text);
  EXPECT_EQ(text, "shared");
}

TEST_F(ProcessTest, MissingScriptIsReportedAndNotWaitedFor) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(RunAndWait("installNowhere.bat"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Could not start installNowhere.bat, error 2\n");
}

TEST_F(ProcessTest, ScriptsInTheWorkingOrRelativeFoldersNeverRun) {
  Script(work_ + "/installPlanted.bat", "#!/bin/sh\ntouch '" + root_ + "/planted'\n", 0755);
  ASSERT_EQ(mkdir((work_ + "/relative").c_str(), 0755), 0);
  Script(work_ + "/relative/installPlanted.bat", "#!/bin/sh\ntouch '" + root_ + "/planted'\n", 0755);
  int error = 0;
  EXPECT_EQ(StartProcess("installPlanted.bat", &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(Exists("planted"));
}

TEST_F(ProcessTest, AFolderOfTheSameNameIsPassedOver) {
  ASSERT_EQ(mkdir((bin_ + "/installTwice.bat").c_str(), 0755), 0);
  const std::string later = root_ + "/later";
  ASSERT_EQ(mkdir(later.c_str(), 0755), 0);
  Script(later + "/installTwice.bat", "#!/bin/sh\ntouch '" + root_ + "/ran'\n", 0755);
  setenv("PATH", (bin_ + ":" + later + ":/usr/bin:/bin").c_str(), 1);
  EXPECT_TRUE(RunAndWait("installTwice.bat"));
  EXPECT_TRUE(Exists("ran"));
}

}  // namespace
