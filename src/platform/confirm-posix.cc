#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/confirm.h"
#include "platform/terminal_prompt.h"

namespace {

void WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nobody reads the prompt; the answer still decides
    done += static_cast<std::size_t>(n);
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Compares the whole answer, NUL bytes included, so "y\0..." is not a Yes.
bool Is(const std::string& answer, const char* word) {
  return answer.size() == std::strlen(word) && strncasecmp(answer.data(), word, answer.size()) == 0;
}

enum class Line { kYes, kNo, kOther, kEnd };

// Reads one line a byte at a time, never past its newline: an installer started
// next shares this input and must find the rest of it. Only the first few bytes
// are kept, so an endless line costs no memory.
Line ReadAnswer(int in) {
  char kept[8];
  std::size_t length = 0;
  bool overlong = false;
  bool escape = false;
  for (;;) {
    char c;
    const ssize_t n = read(in, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Line::kEnd;  // an unfinished line is no answer
    if (c == '\n') break;
    if (c == '\x1b') escape = true;
    if (length == 0 && IsBlank(c)) continue;
    if (length < sizeof kept) {
      kept[length++] = c;
    } else {
      overlong = true;
    }
  }
  if (escape) return Line::kNo;
  if (overlong) return Line::kOther;
  while (length > 0 && IsBlank(kept[length - 1])) --length;
  const std::string answer(kept, length);
  if (answer.empty() || Is(answer, "y") || Is(answer, "yes")) return Line::kYes;
  if (Is(answer, "n") || Is(answer, "no")) return Line::kNo;
  return Line::kOther;
}

}  // namespace

int AskYesNo(int in, int out, const char* prompt) {
  const std::string question = std::string("Confirm: ") + prompt + " [Y/n] ";
  for (;;) {
    WriteAll(out, question);
    switch (ReadAnswer(in)) {
      case Line::kYes:
        return kModalYes;
      case Line::kNo:
        return kModalNo;
      case Line::kEnd:
        return kModalCancel;
      case Line::kOther:
        break;
    }
  }
}

// Standard output is kept for the error line, so the question goes to stderr.
int ConfirmYesNo(const char* prompt) { return AskYesNo(STDIN_FILENO, STDERR_FILENO, prompt); }
