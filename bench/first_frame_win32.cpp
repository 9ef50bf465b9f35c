// Linked into the Windows programs of the bench build only (bottles.exe and
// bare_win32.exe): once the first top-level window and every control in it
// have handled their first WM_PAINT, says so on standard output and ends the
// process, so that bench/launch.cpp can time it under Wine.
#include <windows.h>

namespace {

HHOOK queue_hook = nullptr;
HHOOK call_hook = nullptr;
HWND first_window = nullptr;
UINT check_message = 0;

bool IsTopLevel(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

void Finish() {
  static const char kLine[] = "first-frame\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kLine, sizeof kLine - 1, &written, nullptr);
  ExitProcess(0);  // no tear-down: the figure is the start-up alone
}

// A posted message comes out of the queue before any WM_PAINT, so one posted
// with each WM_PAINT comes back once that paint is done; when it finds no
// window of the thread left to paint, the frame is complete.
void Painting(HWND window) {
  if (first_window == nullptr) {
    if (!IsTopLevel(window)) return;
    first_window = window;
  }
  PostMessageW(first_window, check_message, 0, 0);
}

// Every message the thread takes from its queue, before it is handled.
LRESULT CALLBACK OnGetMessage(int code, WPARAM removed, LPARAM lparam) {
  if (code == HC_ACTION && removed == PM_REMOVE) {
    MSG* message = reinterpret_cast<MSG*>(lparam);
    if (message->message == WM_PAINT) {
      Painting(message->hwnd);
    } else if (message->message == check_message && check_message != 0) {
      message->message = WM_NULL;
      if ((HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0) Finish();
    }
  }
  return CallNextHookEx(queue_hook, code, removed, lparam);
}

// Every message sent to a window of the thread: UpdateWindow sends WM_PAINT.
LRESULT CALLBACK OnCallWindow(int code, WPARAM sent_by_thread, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (message->message == WM_PAINT) Painting(message->hwnd);
  }
  return CallNextHookEx(call_hook, code, sent_by_thread, lparam);
}

// Runs before the program's own code creates any window.
struct Install {
  Install() {
    check_message = RegisterWindowMessageW(L"bottles bench: first frame check");
    queue_hook = SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());
    call_hook = SetWindowsHookExW(WH_CALLWNDPROC, OnCallWindow, nullptr, GetCurrentThreadId());
  }
} install;

}  // namespace
