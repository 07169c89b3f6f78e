// Drives the tool's confirmation dialog from outside, as a user would, for the
// end-to-end suite under Wine. Usage:
//   dialog_driver answer ACTION [MARKER]  wait for the dialog, print what it shows,
//                                         answer it (enter escape yes no close altf4)
//                                         and wait until it is gone; with MARKER,
//                                         also print whether that file existed
//                                         when the dialog appeared
//   dialog_driver none MILLISECONDS       print whether any dialog appeared meanwhile
//   dialog_driver sleep MILLISECONDS      a pause for installer scripts
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kWaitMs = 30000;

HWND FindConfirm() { return FindWindowA("#32770", "Confirm"); }

HWND WaitForConfirm(DWORD limit_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND dialog = FindConfirm();
    if (dialog && IsWindowVisible(dialog)) return dialog;
    if (GetTickCount() - start > limit_ms) return nullptr;
    Sleep(20);
  }
}

std::string Text(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Seen {
  std::string text, buttons;
  bool icon = false;
  RECT yes = {}, no = {};
};

BOOL CALLBACK Collect(HWND child, LPARAM param) {
  Seen& seen = *reinterpret_cast<Seen*>(param);
  char kind[32] = "";
  GetClassNameA(child, kind, sizeof kind);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(kind, "Button") == 0) {
    seen.buttons += (seen.buttons.empty() ? "" : ",") + Text(child);
    GetWindowRect(child, GetDlgCtrlID(child) == IDYES ? &seen.yes : &seen.no);
  } else if (_stricmp(kind, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
    seen.icon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
  } else if (_stricmp(kind, "Static") == 0) {
    seen.text += Text(child);
  }
  return TRUE;
}

// Escapes line breaks so that one dialog is one line of the report.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) line += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  return line;
}

void PostKey(HWND dialog, UINT down, UINT up, WPARAM key, LPARAM flags) {
  GUITHREADINFO gui;
  ZeroMemory(&gui, sizeof gui);
  gui.cbSize = sizeof gui;
  HWND target = GetDlgItem(dialog, IDYES);
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui) && gui.hwndFocus) target = gui.hwndFocus;
  PostMessageA(target, down, key, flags | 1);
  PostMessageA(target, up, key, flags | 0xC0000001);
}

int Answer(const char* action, const char* marker) {
  HWND dialog = WaitForConfirm(kWaitMs);
  const bool marked = marker && GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES;
  if (!dialog) {
    std::printf("no dialog\n");
    return 1;
  }
  Seen seen;
  EnumChildWindows(dialog, Collect, reinterpret_cast<LPARAM>(&seen));
  RECT frame;
  GetWindowRect(dialog, &frame);
  const int dx = (frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
  const int dy = (frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
  const bool centred = dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
  const bool side_by_side = seen.yes.right <= seen.no.left && seen.yes.top == seen.no.top;
  const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  std::printf("%s|%s|%s|default=%d|icon=%s|%s|%s", Text(dialog).c_str(), OneLine(seen.text).c_str(),
              seen.buttons.c_str(), HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0, seen.icon ? "yes" : "no",
              centred ? "centred" : "off-centre", side_by_side ? "side-by-side" : "misplaced");
  if (marker) std::printf("|marker=%s", marked ? "present" : "absent");
  std::printf("\n");
  std::fflush(stdout);

  if (std::strcmp(action, "enter") == 0) {
    PostKey(dialog, WM_KEYDOWN, WM_KEYUP, VK_RETURN, 0);
  } else if (std::strcmp(action, "escape") == 0) {
    PostKey(dialog, WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0);
  } else if (std::strcmp(action, "altf4") == 0) {
    PostKey(dialog, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, 1 << 29);
  } else if (std::strcmp(action, "yes") == 0 || std::strcmp(action, "no") == 0) {
    PostMessageA(GetDlgItem(dialog, action[0] == 'y' ? IDYES : IDNO), BM_CLICK, 0, 0);
  } else if (std::strcmp(action, "close") == 0) {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    std::printf("unknown action %s\n", action);
    return 2;
  }
  const DWORD start = GetTickCount();
  while (IsWindow(dialog)) {
    if (GetTickCount() - start > kWaitMs) {
      std::printf("dialog still open\n");
      return 1;
    }
    Sleep(20);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "answer") == 0) return Answer(argv[2], argc > 3 ? argv[3] : nullptr);
  if (argc == 3 && std::strcmp(argv[1], "none") == 0) {
    const bool appeared = WaitForConfirm(static_cast<DWORD>(std::atoi(argv[2]))) != nullptr;
    std::printf(appeared ? "unexpected dialog\n" : "no dialog\n");
    return appeared ? 1 : 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "sleep") == 0) {
    Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    return 0;
  }
  std::fprintf(stderr, "usage: dialog_driver answer ACTION [MARKER] | none MS | sleep MS\n");
  return 2;
}
