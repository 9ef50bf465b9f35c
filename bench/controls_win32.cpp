// The third floor of the Windows figures: MainForm's forty controls made
// plainly as windows of the standard classes, from the same rows of its
// description, in its font and colours, as the game shows them after loading;
// no forms runtime, no board.
#include <windows.h>

#include <map>
#include <string>
#include <string_view>

#include "window/main_form_description.h"

namespace {

using K = forms::ControlKind;

COLORREF ToColorRef(forms::Colour c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

std::wstring Decode(const char* text) {
  const int n = MultiByteToWideChar(1251, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(1251, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

// One brush per colour, made when first asked for.
std::map<COLORREF, HBRUSH> brushes;
HBRUSH Brush(COLORREF colour) {
  HBRUSH& brush = brushes[colour];
  if (brush == nullptr) brush = CreateSolidBrush(colour);
  return brush;
}

HFONT font = nullptr;

const forms::Control& RowOf(HWND control) {
  return MainFormDescription().controls[static_cast<std::size_t>(GetDlgCtrlID(control) - 1000)];
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, Brush(ToColorRef(MainFormDescription().back_colour)));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      const forms::Control& c = RowOf(reinterpret_cast<HWND>(lparam));
      const auto dc = reinterpret_cast<HDC>(wparam);
      // The read-only edits keep an ordinary text box's white.
      const COLORREF colour =
          c.back_colour == forms::kDefaultColour ? GetSysColor(COLOR_WINDOW) : ToColorRef(c.back_colour);
      SetBkColor(dc, colour);
      return reinterpret_cast<LRESULT>(Brush(colour));
    }
    case WM_DRAWITEM: {
      // The coloured buttons: a bevel and the centred caption.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      RECT area = item->rcItem;
      FillRect(item->hDC, &area, Brush(ToColorRef(RowOf(item->hwndItem).back_colour)));
      DrawEdge(item->hDC, &area, EDGE_RAISED, BF_RECT | BF_ADJUST);
      wchar_t caption[64];
      GetWindowTextW(item->hwndItem, caption, 64);
      SelectObject(item->hDC, font);
      SetBkMode(item->hDC, TRANSPARENT);
      DrawTextW(item->hDC, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
      return TRUE;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  const forms::Form& form = MainFormDescription();
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = L"controls";
  RegisterClassW(&window_class);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const auto px = [dpi](int twips) { return forms::TwipsToPixels(twips, dpi); };
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, px(form.client_width), px(form.client_height)};
  AdjustWindowRect(&frame, style, FALSE);
  HWND window = CreateWindowW(L"controls", Decode(form.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  const std::wstring font_name = Decode(form.font.name);
  font = CreateFontW(-MulDiv(form.font.points, dpi, 72), 0, 0, 0, form.font.weight, FALSE, FALSE, FALSE,
                     static_cast<DWORD>(form.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, font_name.c_str());

  HWND first_focus = nullptr;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const forms::Control& c = form.controls[i];
    // A frame's controls are the window's children too, at the frame's
    // origin plus their place in it.
    int x = c.left, y = c.top;
    for (const forms::Control& f : form.controls) {
      if (c.container != nullptr && f.index < 0 && std::string_view(f.name) == c.container) {
        x += f.left;
        y += f.top;
      }
    }
    const wchar_t* window_class_name = L"STATIC";
    DWORD control_style = WS_CHILD | (c.visible ? WS_VISIBLE : 0u);
    DWORD ex_style = 0;
    switch (c.kind) {
      case K::kLabel: control_style |= SS_CENTER; break;
      case K::kFrame:
        window_class_name = L"BUTTON";
        control_style |= BS_GROUPBOX;
        break;
      case K::kOptionButton:
        window_class_name = L"BUTTON";
        control_style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
        break;
      case K::kButton:
        window_class_name = L"BUTTON";
        control_style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
      case K::kTextBox:
        window_class_name = L"EDIT";
        control_style |= ES_READONLY | WS_TABSTOP | (c.multi_line ? ES_MULTILINE | WS_VSCROLL : ES_AUTOHSCROLL);
        ex_style = WS_EX_CLIENTEDGE;
        break;
      case K::kListBox:
        window_class_name = L"LISTBOX";
        control_style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
        ex_style = WS_EX_CLIENTEDGE;
        break;
    }
    HWND w = CreateWindowExW(ex_style, window_class_name, Decode(c.caption).c_str(), control_style, px(x), px(y),
                             px(c.width), px(c.height), window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)),
                             instance, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The pool as the game fills it: seven bottles of a kind.
    if (c.kind == K::kListBox) {
      for (int n = 0; n < 7; ++n) SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1"));
    }
    if (c.tab_index == 0) first_focus = w;
  }
  ShowWindow(window, show_command);
  if (first_focus != nullptr) SetFocus(first_focus);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
