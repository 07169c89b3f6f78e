#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/confirm.h"

namespace {

constexpr WORD kIconId = 100;
constexpr WORD kTextId = 101;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;

// An in-memory dialog template: a header, then items, each starting on a DWORD.
class Template {
 public:
  Template(DWORD style, const wchar_t* title, WORD items) {
    Dword(style);
    Dword(0);  // extended style
    words_.push_back(items);
    for (int i = 0; i < 4; ++i) words_.push_back(0);  // placed and sized at run time
    words_.push_back(0);                              // no menu
    words_.push_back(0);                              // the standard dialog class
    String(title);
  }

  void Item(DWORD style, WORD id, WORD control_class, const wchar_t* title) {
    if (words_.size() % 2 != 0) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (int i = 0; i < 4; ++i) words_.push_back(0);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(control_class);
    String(title);
    words_.push_back(0);  // no creation data
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void String(const wchar_t* text) {
    do words_.push_back(static_cast<WORD>(*text));
    while (*text++ != L'\0');
  }

  std::vector<WORD> words_;
};

Template MakeConfirmTemplate() {
  Template dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND, L"Confirm", 4);
  dialog.Item(SS_ICON, kIconId, kStaticClass, L"");
  dialog.Item(SS_LEFT, kTextId, kStaticClass, L"");  // wraps words; '&' marks an access key
  dialog.Item(WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDYES, kButtonClass, L"&Yes");
  dialog.Item(WS_TABSTOP | BS_PUSHBUTTON, IDNO, kButtonClass, L"&No");
  return dialog;
}

struct Question {
  const char* prompt;
  HFONT font;
};

// Sizes the dialog to its text in the system's message font and centres it.
void Layout(HWND dialog, Question* question) {
  NONCLIENTMETRICSA metrics;
  ZeroMemory(&metrics, sizeof metrics);
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  question->font = CreateFontIndirectA(&metrics.lfMessageFont);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(question->font), FALSE);
  }
  SetDlgItemTextA(dialog, kTextId, question->prompt);
  SendDlgItemMessageA(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_QUESTION)), 0);

  HDC dc = GetDC(dialog);
  HGDIOBJ old_font = SelectObject(dc, question->font);
  TEXTMETRICA text_metrics;
  GetTextMetricsA(dc, &text_metrics);
  SIZE alphabet;
  GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  RECT text = {0, 0, screen_width / 2, 0};
  DrawTextA(dc, question->prompt, -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, old_font);
  ReleaseDC(dialog, dc);

  // Dialog units of this font, so spacing grows with it.
  const int unit_x = (alphabet.cx / 26 + 1) / 2;
  const int unit_y = text_metrics.tmHeight;
  auto dx = [unit_x](int n) { return MulDiv(n, unit_x, 4); };
  auto dy = [unit_y](int n) { return MulDiv(n, unit_y, 8); };
  const int margin = dx(8);
  const int icon_width = GetSystemMetrics(SM_CXICON);
  const int icon_height = GetSystemMetrics(SM_CYICON);
  const int text_width = text.right - text.left;
  const int text_height = text.bottom - text.top;
  const int button_width = dx(50);
  const int button_height = dy(14);
  const int button_gap = dx(4);
  const int top_height = std::max(icon_height, text_height);
  const int client_width = 2 * margin + std::max(icon_width + margin + text_width, 2 * button_width + button_gap);
  const int client_height = 3 * margin + top_height + button_height;

  MoveWindow(GetDlgItem(dialog, kIconId), margin, margin, icon_width, icon_height, FALSE);
  MoveWindow(GetDlgItem(dialog, kTextId), 2 * margin + icon_width, margin + (top_height - text_height) / 2, text_width,
             text_height, FALSE);
  const int buttons_left = (client_width - 2 * button_width - button_gap) / 2;
  const int buttons_top = 2 * margin + top_height;
  MoveWindow(GetDlgItem(dialog, IDYES), buttons_left, buttons_top, button_width, button_height, FALSE);
  MoveWindow(GetDlgItem(dialog, IDNO), buttons_left + button_width + button_gap, buttons_top, button_width,
             button_height, FALSE);

  RECT frame = {0, 0, client_width, client_height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(dialog, HWND_TOP, (screen_width - width) / 2, (screen_height - height) / 2, width, height, 0);
  SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
  SetForegroundWindow(dialog);
}

INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      Layout(dialog, reinterpret_cast<Question*>(lparam));
      return TRUE;  // focus on the first tab stop: Yes
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDYES:
          EndDialog(dialog, kModalYes);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Escape
          EndDialog(dialog, kModalNo);
          return TRUE;
      }
      break;
    case WM_CLOSE:  // the close box or Alt+F4: dismissed, not answered
      EndDialog(dialog, kModalCancel);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int ConfirmYesNo(const char* prompt) {
  static const Template confirm = MakeConfirmTemplate();
  static const bool styled = (InitCommonControls(), true);  // the manifest's themed buttons
  (void)styled;
  Question question = {prompt, nullptr};
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), confirm.Get(), nullptr, ConfirmProc,
                                                 reinterpret_cast<LPARAM>(&question));
  if (question.font) DeleteObject(question.font);
  // A dialog that could not be shown, or was ended by the application closing, is no Yes.
  return result == kModalYes || result == kModalNo ? static_cast<int>(result) : kModalCancel;
}
