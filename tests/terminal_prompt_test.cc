#include "platform/terminal_prompt.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/confirm.h"

namespace {

// Feeds `input` through a pipe, asks once, and keeps what was shown and what
// input the question left unread.
struct Asked {
  int result;
  std::string shown;
  std::string left;
};

Asked Ask(const std::string& input, bool close_input = true) {
  int in[2], out[2];
  EXPECT_EQ(pipe(in), 0);
  EXPECT_EQ(pipe(out), 0);
  // A writer of its own, as a terminal would be: inputs may exceed a pipe's buffer.
  std::thread writer([&] {
    for (std::size_t done = 0; done < input.size();) {
      const ssize_t n = write(in[1], input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (close_input) close(in[1]);
  });
  std::string shown;
  std::thread reader([&] {
    char chunk[4096];
    for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;) shown.append(chunk, static_cast<std::size_t>(n));
  });
  const int result = AskYesNo(in[0], out[1], "Do you to install (KX4 Reader Board)?");
  close(out[1]);
  reader.join();
  writer.join();
  if (!close_input) close(in[1]);
  Asked asked{result, shown, ""};
  char chunk[4096];
  for (ssize_t n; (n = read(in[0], chunk, sizeof chunk)) > 0;) asked.left.append(chunk, static_cast<std::size_t>(n));
  close(in[0]);
  close(out[0]);
  return asked;
}

const char kQuestion[] = "Confirm: Do you to install (KX4 Reader Board)? [Y/n] ";

TEST(TerminalPrompt, AnswersAndWhatTheyMean) {
  const struct {
    const char* input;
    int result;
  } cases[] = {
      {"\n", kModalYes},
      {"y\n", kModalYes},
      {"Y\n", kModalYes},
      {"yes\n", kModalYes},
      {"YeS\r\n", kModalYes},
      {"  y \n", kModalYes},
      {"n\n", kModalNo},
      {"NO\n", kModalNo},
      {"\x1b\n", kModalNo},
      {"yes\x1b\n", kModalNo},
      {"", kModalCancel},
      {"y", kModalCancel},
      {"yes please", kModalCancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
    const Asked asked = Ask(c.input);
    EXPECT_EQ(asked.result, c.result);
    EXPECT_EQ(asked.shown, kQuestion);
  }
}

TEST(TerminalPrompt, AsksAgainUntilItGetsAnAnswer) {
  const std::string nul_y("y\0\n", 3);
  const Asked asked = Ask("maybe\n" + nul_y + "\x01\x02\n" + std::string(10000, 'y') + "\nn\n");
  EXPECT_EQ(asked.result, kModalNo);
  std::string five_times;
  for (int i = 0; i < 5; ++i) five_times += kQuestion;
  EXPECT_EQ(asked.shown, five_times);
}

TEST(TerminalPrompt, LeavesTheRestOfTheInputForTheInstaller) {
  const Asked asked = Ask("yes\ninstaller input\n", false);
  EXPECT_EQ(asked.result, kModalYes);
  EXPECT_EQ(asked.left, "installer input\n");
}

TEST(TerminalPrompt, HugeLineWithoutNewlineEndsInCancel) {
  const Asked asked = Ask(std::string(1 << 20, 'y'));
  EXPECT_EQ(asked.result, kModalCancel);
  EXPECT_EQ(asked.shown, kQuestion);
}

TEST(TerminalPrompt, ClosedOrBrokenInputIsCancel) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  EXPECT_EQ(AskYesNo(-1, out[1], "?"), kModalCancel);
  const int null_in = open("/dev/null", O_RDONLY);
  EXPECT_EQ(AskYesNo(null_in, out[1], "?"), kModalCancel);
  close(null_in);
  close(out[0]);
  close(out[1]);
}

}  // namespace
