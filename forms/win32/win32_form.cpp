// The Win32 back end; see win32_form.h. Wide (W) functions only: every text
// is decoded from Windows-1251 here, whatever the system's ANSI code page.
#include "forms/win32/win32_form.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "board/errors.h"
#include "forms/cp1251.h"

namespace forms::win32 {

// The option buttons of one container: exclusive, and one tab stop for all,
// on the checked member or else the first, as the dialog manager expects.
struct RadioGroup {
  std::vector<HWND> members;
  // The member whose selection was last raised or set: a click on it again
  // (the second half of a double click among them) raises nothing.
  HWND selected = nullptr;

  void UpdateTabStop() const {
    HWND stop = members.empty() ? nullptr : members.front();
    for (HWND member : members) {
      if (SendMessageW(member, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        stop = member;
        break;
      }
    }
    for (HWND member : members) {
      const LONG_PTR style = GetWindowLongPtrW(member, GWL_STYLE);
      const LONG_PTR wanted = member == stop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP});
      if (wanted != style) SetWindowLongPtrW(member, GWL_STYLE, wanted);
    }
  }
};

// Screen readers get the controls' accessible objects through COM, which the
// window's thread joins when the first of them is asked for (on that thread:
// WM_GETOBJECT is sent to the control), and leaves with the window.
struct Apartment {
  bool asked = false;
  bool joined = false;
};

namespace {

constexpr wchar_t kClassName[] = L"forms.win32.FormWindow";
// Control ids start above the ids IsDialogMessageW sends for Enter and
// Escape (IDOK, IDCANCEL, ...), so those never reach a handler.
constexpr int kFirstId = 1000;
constexpr UINT_PTR kPanelSubclass = 1;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::wstring FromCp1251(std::string_view text) { return Wide(DecodeCp1251(text)); }
std::string ToCp1251(std::wstring_view text) {
  return EncodeCp1251(std::u16string(text.begin(), text.end()));
}

std::wstring WindowText(HWND w) {
  const int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

COLORREF ToColorRef(Colour c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

template <class T>
LPARAM AsLParam(T* pointer) {
  return reinterpret_cast<LPARAM>(pointer);
}

template <class Function>
Function FromModule(HMODULE module, const char* name) {
  const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
  // Through void(*)(): the cast between function types is then deliberate.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Functions of newer systems, looked up so that the program still starts
// where they are missing.
template <class Function>
Function FromUser32(const char* name) {
  return FromModule<Function>(GetModuleHandleW(L"user32.dll"), name);
}
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int WindowDpi(HWND hwnd) {
  if (const auto get_dpi = FromUser32<GetDpiForWindowFunction>("GetDpiForWindow")) {
    const UINT dpi = get_dpi(hwnd);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  const HDC dc = GetDC(hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(hwnd, dc);
  return dpi > 0 ? dpi : 96;
}

bool SameContainer(const Control& a, const Control& b) {
  if (a.container == nullptr || b.container == nullptr) return a.container == b.container;
  return std::string_view(a.container) == b.container;
}

// Where a control goes in the client area, in pixels at a DPI. A frame's
// controls are the window's children too, placed at the frame's origin plus
// their offset in it.
struct Place {
  int x, y, width, height;
};

Place PlaceOf(const Form& form, const Control& c, int dpi) {
  int x = TwipsToPixels(c.left, dpi);
  int y = TwipsToPixels(c.top, dpi);
  for (const char* container = c.container; container != nullptr;) {
    const int frame = FindControl(form, container, -1);
    if (frame < 0) break;
    const Control& f = form.controls[static_cast<std::size_t>(frame)];
    x += TwipsToPixels(f.left, dpi);
    y += TwipsToPixels(f.top, dpi);
    container = f.container;
  }
  return {x, y, TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi)};
}

HFONT MakeFont(const Form& form, int dpi) {
  return CreateFontW(-MulDiv(form.font.points, dpi, 72), 0, 0, 0, form.font.weight, FALSE, FALSE, FALSE,
                     static_cast<DWORD>(form.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FromCp1251(form.font.name).c_str());
}

// The multi-line panels are read-only: Tab, Enter and Escape go to the
// window, as from any other control, instead of being kept by the edit
// control; and reaching a panel with Tab selects nothing, so that it shows
// its first lines rather than scrolling to the end of a selection.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                           DWORD_PTR) {
  if (message == WM_GETDLGCODE) {
    return DefSubclassProc(hwnd, message, wparam, lparam) &
           ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, PanelProc, kPanelSubclass);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

// What a screen reader is told of a control beyond what the system's own
// object says: a name made from the captions of the labels that go with it
// (and for a label, its own current caption after them), its role, and for a
// text box that it is read-only. The control's kind also tells ControlProc
// what more to do for the keyboard and the focus mark.
struct Spoken {
  std::wstring labels;  // empty: the system's name, the window text
  bool then_caption = false;
  LONG role = ROLE_SYSTEM_CLIENT;
  ControlKind kind = ControlKind::kLabel;
  WNDPROC control_proc = nullptr;  // the control's own procedure
  Apartment* apartment = nullptr;  // the window's
};

LONG RoleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel: return ROLE_SYSTEM_STATICTEXT;
    case ControlKind::kFrame: return ROLE_SYSTEM_GROUPING;
    case ControlKind::kOptionButton: return ROLE_SYSTEM_RADIOBUTTON;
    case ControlKind::kButton: return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::kTextBox: return ROLE_SYSTEM_TEXT;
    case ControlKind::kListBox: return ROLE_SYSTEM_LIST;
  }
  return ROLE_SYSTEM_CLIENT;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Loading these DLLs took a fifth of the start-up under Wine, for a screen
// reader that is seldom there; so they are loaded when the first control is
// asked for its accessible object, and then never unloaded, since the
// objects handed out run their code for as long as a client keeps them.
struct Ole {
  decltype(&CoInitializeEx) co_initialize_ex = nullptr;
  decltype(&CoUninitialize) co_uninitialize = nullptr;
  decltype(&CreateStdAccessibleObject) create_std_accessible_object = nullptr;
  decltype(&LresultFromObject) lresult_from_object = nullptr;
  decltype(&SysAllocStringLen) sys_alloc_string_len = nullptr;
  decltype(&SysFreeString) sys_free_string = nullptr;
  decltype(&SysStringLen) sys_string_len = nullptr;
};

// From the system directory only: not a DLL of that name planted beside
// the program or in the current directory.
HMODULE LoadSystemDll(std::wstring_view name) {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + name.size() >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  std::copy(name.begin(), name.end(), path + length + 1);
  path[length + 1 + name.size()] = L'\0';
  return LoadLibraryW(path);
}

Ole loaded_ole;
INIT_ONCE ole_once = INIT_ONCE_STATIC_INIT;

// Once per process, whichever thread's window is asked first. Not a static
// local: its guard would bring the thread library's locks into the program.
BOOL CALLBACK LoadOle(PINIT_ONCE, PVOID, PVOID*) {
  const HMODULE ole32 = LoadSystemDll(L"ole32.dll");
  const HMODULE oleaut32 = LoadSystemDll(L"oleaut32.dll");
  const HMODULE oleacc = LoadSystemDll(L"oleacc.dll");
  Ole& ole = loaded_ole;
  ole.co_initialize_ex = FromModule<decltype(ole.co_initialize_ex)>(ole32, "CoInitializeEx");
  ole.co_uninitialize = FromModule<decltype(ole.co_uninitialize)>(ole32, "CoUninitialize");
  ole.create_std_accessible_object =
      FromModule<decltype(ole.create_std_accessible_object)>(oleacc, "CreateStdAccessibleObject");
  ole.lresult_from_object = FromModule<decltype(ole.lresult_from_object)>(oleacc, "LresultFromObject");
  ole.sys_alloc_string_len = FromModule<decltype(ole.sys_alloc_string_len)>(oleaut32, "SysAllocStringLen");
  ole.sys_free_string = FromModule<decltype(ole.sys_free_string)>(oleaut32, "SysFreeString");
  ole.sys_string_len = FromModule<decltype(ole.sys_string_len)>(oleaut32, "SysStringLen");
  return TRUE;
}

// nullptr where any of it is missing: the controls then have the
// system's own objects.
const Ole* LoadedOle() {
  if (!InitOnceExecuteOnce(&ole_once, &LoadOle, nullptr, nullptr)) return nullptr;
  const Ole& ole = loaded_ole;
  const bool complete = ole.co_initialize_ex != nullptr && ole.co_uninitialize != nullptr &&
                        ole.create_std_accessible_object != nullptr && ole.lresult_from_object != nullptr &&
                        ole.sys_alloc_string_len != nullptr && ole.sys_free_string != nullptr &&
                        ole.sys_string_len != nullptr;
  return complete ? &ole : nullptr;
}

// The system's own accessible object of a control, answering as it does in
// everything but the name, where labels name the control, and the role,
// where the system does not know the control's class. A screen reader may
// keep it after the control is gone, so it owns a copy of the labels.
class ControlAccessible final : public IAccessible {
 public:
  // Takes over `labels` (nullptr for none).
  ControlAccessible(const Ole& ole, IAccessible* standard, HWND hwnd, BSTR labels, bool then_caption, LONG role,
                    bool read_only)
      : ole_(ole),
        standard_(standard),
        hwnd_(hwnd),
        labels_(labels),
        then_caption_(then_caption),
        role_(role),
        read_only_(read_only) {
    standard_->AddRef();
  }
  ControlAccessible(const ControlAccessible&) = delete;
  ControlAccessible& operator=(const ControlAccessible&) = delete;

  // IUnknown. Not the standard object's other interfaces: they would
  // answer for it, not for this. WindowFromAccessibleObject finds the
  // control through the standard object all the same.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch. A late-bound client asking for the name gets this one.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) override {
    if (id == DISPID_ACC_NAME && labels_ != nullptr && (flags & DISPATCH_PROPERTYGET) != 0 && result != nullptr &&
        params != nullptr && (params->cArgs == 0 || (params->cArgs == 1 && IsSelf(params->rgvarg[0])))) {
      BSTR name = nullptr;
      const HRESULT got = SpokenNow(&name);
      if (FAILED(got)) return got;
      *result = VARIANT{};
      result->vt = VT_BSTR;
      result->bstrVal = name;
      return S_OK;
    }
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, bad_argument);
  }

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (labels_ == nullptr || !IsSelf(child)) return standard_->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    return SpokenNow(name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    const HRESULT got = standard_->get_accRole(child, role);
    // "A client area" is what a standard object says of a class it does
    // not know (Wine's know edits only); this one knows what it is.
    if (got == S_OK && IsSelf(child) && role->vt == VT_I4 && role->lVal == ROLE_SYSTEM_CLIENT) role->lVal = role_;
    return got;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT got = standard_->get_accState(child, state);
    // Not every system's object says so of a read-only edit control.
    if (got == S_OK && read_only_ && IsSelf(child) && state->vt == VT_I4) state->lVal |= STATE_SYSTEM_READONLY;
    return got;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override { return standard_->accSelect(how, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~ControlAccessible() {
    ole_.sys_free_string(labels_);
    standard_->Release();
  }

  // Made when asked, so that a label's name follows its caption.
  HRESULT SpokenNow(BSTR* name) const {
    const UINT labels = ole_.sys_string_len(labels_);
    const int caption = then_caption_ ? std::max(GetWindowTextLengthW(hwnd_), 0) : 0;
    // One more character than asked for is allocated, for the null.
    *name = ole_.sys_alloc_string_len(nullptr, labels + static_cast<UINT>(caption));
    if (*name == nullptr) return E_OUTOFMEMORY;
    std::copy_n(labels_, labels, *name);
    (*name)[labels] = L'\0';
    if (caption == 0) return S_OK;
    const int got = std::max(GetWindowTextW(hwnd_, *name + labels, caption + 1), 0);
    if (got < caption) {
      // The caption got shorter in between: keep what was read.
      const BSTR shorter = ole_.sys_alloc_string_len(*name, labels + static_cast<UINT>(got));
      ole_.sys_free_string(*name);
      *name = shorter;
    }
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  LONG references_ = 1;
  const Ole& ole_;
  IAccessible* standard_;
  HWND hwnd_;
  BSTR labels_;
  bool then_caption_;
  LONG role_;
  bool read_only_;
};

// The answer to WM_GETOBJECT for a control's client area; 0 (the system's
// own object then) when it cannot be made.
LRESULT AccessibleObject(const Ole& ole, HWND hwnd, WPARAM wparam, const Spoken& spoken) {
  IAccessible* standard = nullptr;
  if (FAILED(ole.create_std_accessible_object(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&standard))) ||
      standard == nullptr) {
    return 0;
  }
  BSTR labels = nullptr;
  if (!spoken.labels.empty()) {
    labels = ole.sys_alloc_string_len(spoken.labels.data(), static_cast<UINT>(spoken.labels.size()));
  }
  ControlAccessible* accessible = nullptr;
  if (labels != nullptr || spoken.labels.empty()) {
    accessible =
        new (std::nothrow) ControlAccessible(ole, standard, hwnd, labels, spoken.then_caption, spoken.role,
                                             spoken.kind == ControlKind::kTextBox);
    if (accessible == nullptr) ole.sys_free_string(labels);
  }
  standard->Release();
  if (accessible == nullptr) return 0;
  // The client's reference is LresultFromObject's; ours is given back.
  const LRESULT result = ole.lresult_from_object(__uuidof(IAccessible), wparam, accessible);
  accessible->Release();
  return result > 0 ? result : 0;
}

// The focus mark: a black ring, `black` pixels wide, just inside `r`, and a
// white one, `white` wide, inside that: one of the two stands out on any back
// colour, light or dark.
void DrawFocusMark(HDC dc, RECT r, int black, int white) {
  for (const auto& [width, colour] : {std::pair{black, RGB(0, 0, 0)}, std::pair{white, RGB(0xFF, 0xFF, 0xFF)}}) {
    if (width <= 0) continue;
    const HBRUSH brush = CreateSolidBrush(colour);
    const RECT edges[] = {{r.left, r.top, r.right, r.top + width},
                          {r.left, r.bottom - width, r.right, r.bottom},
                          {r.left, r.top, r.left + width, r.bottom},
                          {r.right - width, r.top, r.right, r.bottom}};
    for (const RECT& edge : edges) FillRect(dc, &edge, brush);
    DeleteObject(brush);
    InflateRect(&r, -width, -width);
  }
}

// One pixel of a focus mark's line at 96 DPI, more at a higher DPI.
int MarkUnit(HWND hwnd) { return std::max(1, WindowDpi(hwnd) / 96); }

// The focus mark of the controls the system draws: over an option button's
// box once it has drawn it (it draws on its own at a change of state, not
// only when painting), and in place of the sunken edge of a text box or a
// list box, which scrolls its inside but never its edge.
void MarkFocus(HWND hwnd, ControlKind kind, UINT message) {
  switch (kind) {
    case ControlKind::kOptionButton:
      if (message == WM_KILLFOCUS) {
        InvalidateRect(hwnd, nullptr, TRUE);
      } else if ((message == WM_PAINT || message == WM_SETFOCUS || message == BM_SETCHECK || message == BM_SETSTATE ||
                  message == WM_ENABLE || message == WM_SETTEXT || message == WM_UPDATEUISTATE) &&
                 GetFocus() == hwnd) {
        RECT box;
        GetClientRect(hwnd, &box);
        const HDC dc = GetDC(hwnd);
        DrawFocusMark(dc, box, 2 * MarkUnit(hwnd), MarkUnit(hwnd));
        ReleaseDC(hwnd, dc);
      }
      break;
    case ControlKind::kTextBox:
    case ControlKind::kListBox:
      if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      } else if (message == WM_NCPAINT && GetFocus() == hwnd) {
        RECT outer;
        GetWindowRect(hwnd, &outer);
        POINT client{0, 0};
        ClientToScreen(hwnd, &client);
        const int edge = std::max(static_cast<int>(client.x - outer.left), 1);
        OffsetRect(&outer, -outer.left, -outer.top);
        const HDC dc = GetWindowDC(hwnd);
        DrawFocusMark(dc, outer, edge, 0);
        ReleaseDC(hwnd, dc);
      }
      break;
    default:
      break;
  }
}

// Every message of every control goes through this, so it is a plain window
// procedure with its data in the control's user data: SetWindowSubclass
// looks its own up in a window property on every message, which under Wine
// is a trip to the Wine server and made the game's tests five times slower.
// It hands out the accessible objects, makes Enter press a button as Space
// does, and draws the focus mark of the controls the system draws.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto* spoken = reinterpret_cast<const Spoken*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // Cast to DWORD first: on 64-bit Windows the lParam may come sign-extended.
  if (message == WM_GETOBJECT && static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT)) {
    if (const Ole* ole = LoadedOle()) {
      // WM_GETOBJECT comes on the window's thread, which is the one to join.
      Apartment& apartment = *spoken->apartment;
      if (!apartment.asked) {
        apartment.asked = true;
        // Joined already (S_FALSE) must be left as well; a thread in the
        // multithreaded apartment is not this one's to leave, and marshals
        // too.
        apartment.joined = SUCCEEDED(ole->co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED));
      }
      const LRESULT object = AccessibleObject(*ole, hwnd, wparam, *spoken);
      if (object != 0) return object;
    }
  }
  if (spoken->kind == ControlKind::kButton) {
    // The dialog manager keeps Enter for a default button, which this
    // window, not being a dialog, has none of: the focused button asks for
    // it, and clicks once per press (a held key's repeats are no presses).
    if (message == WM_GETDLGCODE) {
      const auto* asked = reinterpret_cast<const MSG*>(lparam);
      const LRESULT code = CallWindowProcW(spoken->control_proc, hwnd, message, wparam, lparam);
      const bool enter = asked != nullptr && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN;
      return enter ? (code | DLGC_WANTMESSAGE) : code;
    }
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
      if ((lparam & (LPARAM{1} << 30)) == 0 && IsWindowEnabled(hwnd)) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    }
  }
  const LRESULT result = CallWindowProcW(spoken->control_proc, hwnd, message, wparam, lparam);
  MarkFocus(hwnd, spoken->kind, message);
  return result;
}

// Over SetWindowSubclass's procedure where a control has one (the panels);
// that one unhooks itself only at WM_NCDESTROY, the control's last message.
void HookControl(HWND w, Spoken& spoken) {
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&spoken));
  spoken.control_proc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
}

class ListElement : public board::List {
 public:
  explicit ListElement(HWND w) : w_(w) {}
  int Count() const override { return static_cast<int>(SendMessageW(w_, LB_GETCOUNT, 0, 0)); }
  void Clear() override { SendMessageW(w_, LB_RESETCONTENT, 0, 0); }
  void Append(std::string_view entry) override {
    const std::wstring text = FromCp1251(entry);
    SendMessageW(w_, LB_ADDSTRING, 0, AsLParam(text.c_str()));
  }
  void RemoveAt(int index) override {
    if (index < 0 || index >= Count()) throw board::NoSuchElementError();
    SendMessageW(w_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }

 private:
  HWND w_;
};

// Edit controls, single-line or multi-line; the multi-line ones take and
// give CR LF line ends, as the texts are stored.
class TextElement : public board::Text {
 public:
  explicit TextElement(HWND w) : w_(w) {}
  std::string Get() const override { return ToCp1251(WindowText(w_)); }
  void Set(std::string_view text) override { SetWindowTextW(w_, FromCp1251(text).c_str()); }

 private:
  HWND w_;
};

class CaptionElement : public board::Caption {
 public:
  explicit CaptionElement(HWND w) : w_(w) {}
  void SetCaption(std::string_view caption) override {
    SetWindowTextW(w_, FromCp1251(caption).c_str());
    // The system announces a new window text for the window object only; a
    // screen reader reads a label through its client object, whose name
    // is made from the caption.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, w_, OBJID_CLIENT, CHILDID_SELF);
  }

 private:
  HWND w_;
};

class SwitchElement : public board::Switch {
 public:
  explicit SwitchElement(HWND w) : w_(w) {}
  bool Enabled() const override { return IsWindowEnabled(w_) != FALSE; }
  void SetEnabled(bool enabled) override {
    // A control that is disabled while it has the focus would leave the
    // keyboard with nowhere to go: hand the focus on first.
    if (!enabled && GetFocus() == w_) {
      const HWND next = GetNextDlgTabItem(GetParent(w_), w_, FALSE);
      if (next != nullptr && next != w_) SetFocus(next);
    }
    EnableWindow(w_, enabled ? TRUE : FALSE);
    InvalidateRect(w_, nullptr, TRUE);
  }

 private:
  HWND w_;
};

class OptionElement : public board::Option {
 public:
  OptionElement(HWND w, RadioGroup& group) : w_(w), group_(group) {}
  bool Value() const override { return SendMessageW(w_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetValue(bool selected) override {
    // BM_SETCHECK sends no notification, so no click is raised.
    if (selected) {
      for (HWND member : group_.members) {
        if (member != w_) SendMessageW(member, BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
    SendMessageW(w_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    if (selected) {
      group_.selected = w_;
    } else if (group_.selected == w_) {
      group_.selected = nullptr;
    }
    group_.UpdateTabStop();
  }

 private:
  HWND w_;
  RadioGroup& group_;
};

}  // namespace

struct FormWindow::Row {
  const Control* control = nullptr;
  HWND hwnd = nullptr;
  RadioGroup* group = nullptr;
  Spoken spoken;
};

FormWindow::FormWindow(const Form& form) : ControlTable(form), apartment_(std::make_unique<Apartment>()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &FormWindow::WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = kClassName;
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassExW failed");
  }
  // Fixed size: no thick frame, no maximise box. No WS_CLIPCHILDREN either:
  // group boxes leave their inside for the window to paint.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const HWND created = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, FromCp1251(form.caption).c_str(),
                                       kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       nullptr, nullptr, instance, this);
  if (created == nullptr) throw std::runtime_error("CreateWindowExW failed");
  dpi_ = WindowDpi(hwnd_);
  try {
    FitClientArea();
    CreateControls();
  } catch (...) {
    // No destructor runs for a constructor that throws.
    destroying_ = true;
    DestroyWindow(hwnd_);
    if (font_ != nullptr) DeleteObject(font_);
    throw;
  }
}

FormWindow::~FormWindow() {
  destroying_ = true;
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
  for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
  // Last, once no control can be asked any more; joined means loaded.
  if (apartment_->joined) LoadedOle()->co_uninitialize();
}

void FormWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const Form& form = Description();
  // Creation order is the Z-order, and the Z-order is the tab order.
  std::vector<const Control*> order;
  for (const Control& c : form.controls) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tab_index < b->tab_index; });

  // Each control is made where Layout() would put it, in its font, and a
  // panel gets its text only after the font: every move, new font and new
  // text makes a control measure (a panel, word-wrap) its text again, which
  // for forty controls under Wine was a tenth of the start-up.
  font_ = MakeFont(form, dpi_);
  rows_.resize(form.controls.size());
  const Control* previous = nullptr;
  for (const Control* c : order) {
    const auto row_number = static_cast<std::size_t>(c - form.controls.data());
    auto row = std::make_unique<Row>();
    row->control = c;
    DWORD style = WS_CHILD | (c->visible ? WS_VISIBLE : 0u);
    DWORD ex_style = 0;
    // A group of option buttons runs from its first member to the next
    // control with WS_GROUP: every other control starts a group.
    const bool continues_group = c->kind == ControlKind::kOptionButton && previous != nullptr &&
                                 previous->kind == ControlKind::kOptionButton &&
                                 SameContainer(*previous, *c);
    if (!continues_group) style |= WS_GROUP;
    if (TakesFocus(c->kind) && c->visible && c->kind != ControlKind::kOptionButton) style |= WS_TABSTOP;
    const wchar_t* window_class = L"BUTTON";
    switch (c->kind) {
      case ControlKind::kLabel:
        window_class = L"STATIC";
        style |= SS_CENTER | SS_NOPREFIX;
        break;
      case ControlKind::kFrame:
        style |= BS_GROUPBOX;
        break;
      case ControlKind::kOptionButton:
        style |= BS_AUTORADIOBUTTON;
        break;
      case ControlKind::kButton:
        style |= BS_OWNERDRAW;
        break;
      case ControlKind::kTextBox:
        window_class = L"EDIT";
        ex_style |= WS_EX_CLIENTEDGE;
        style |= ES_READONLY | (c->multi_line ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
        break;
      case ControlKind::kListBox:
        window_class = L"LISTBOX";
        ex_style |= WS_EX_CLIENTEDGE;
        style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
        break;
    }
    const int id = kFirstId + static_cast<int>(row_number);
    const bool panel = c->kind == ControlKind::kTextBox && c->multi_line;
    const std::wstring caption = FromCp1251(c->caption);
    const Place place = PlaceOf(form, *c, dpi_);
    row->hwnd = CreateWindowExW(ex_style, window_class, panel ? L"" : caption.c_str(), style, place.x, place.y,
                                place.width, place.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                instance, nullptr);
    if (row->hwnd == nullptr) throw std::runtime_error("CreateWindowExW failed for a control");
    const HWND w = row->hwnd;
    // Not drawn yet: the window is hidden.
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (panel) SetWindowTextW(w, caption.c_str());
    Elements& elements = ElementsOf(row_number);
    switch (c->kind) {
      case ControlKind::kLabel:
        elements.caption = std::make_unique<CaptionElement>(w);
        break;
      case ControlKind::kFrame:
        break;
      case ControlKind::kOptionButton: {
        if (!continues_group || groups_.empty()) groups_.push_back(std::make_unique<RadioGroup>());
        RadioGroup& group = *groups_.back();
        group.members.push_back(w);
        row->group = &group;
        elements.option = std::make_unique<OptionElement>(w, group);
        break;
      }
      case ControlKind::kButton:
        elements.button = std::make_unique<SwitchElement>(w);
        break;
      case ControlKind::kTextBox:
        if (c->multi_line) {
          SetWindowSubclass(w, PanelProc, kPanelSubclass, 0);
          // The caret, and so the first line shown, at the start.
          SendMessageW(w, EM_SETSEL, 0, 0);
          SendMessageW(w, EM_SCROLLCARET, 0, 0);
        }
        elements.text = std::make_unique<TextElement>(w);
        break;
      case ControlKind::kListBox:
        elements.list = std::make_unique<ListElement>(w);
        break;
    }
    // The labels' captions never change, so they are joined once.
    row->spoken.labels = Wide(LabelledName(form, *c));
    row->spoken.then_caption = c->kind == ControlKind::kLabel;
    row->spoken.role = RoleOf(c->kind);
    row->spoken.kind = c->kind;
    row->spoken.apartment = apartment_.get();
    rows_[row_number] = std::move(row);
    // Only now, when it lives as long as the control.
    HookControl(w, rows_[row_number]->spoken);
    previous = c;
  }
  for (const auto& group : groups_) group->UpdateTabStop();
}

void FormWindow::Layout() {
  const Form& form = Description();
  const HFONT font = MakeFont(form, dpi_);
  for (const auto& row : rows_) {
    const Place place = PlaceOf(form, *row->control, dpi_);
    SetWindowPos(row->hwnd, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(row->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;
  FitClientArea();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::FitClientArea() {
  const Form& form = Description();
  const int width = TwipsToPixels(form.client_width, dpi_);
  const int height = TwipsToPixels(form.client_height, dpi_);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT outer{0, 0, width, height};
  if (const auto adjust = FromUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi")) {
    adjust(&outer, style, FALSE, ex_style, static_cast<UINT>(dpi_));
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws may differ from its estimate (a
  // caption font of its own, say): correct by what the client area got.
  RECT client;
  RECT window;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window);
  const int dw = width - client.right;
  const int dh = height - client.bottom;
  if (dw != 0 || dh != 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::ShowCentred(int show_command) {
  RECT window;
  GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
}

int FormWindow::Run() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    // The dialog manager gives Tab, Shift+Tab, the arrow keys within the
    // option group, and Space on buttons their usual meaning.
    if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam), message);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType == ODT_BUTTON && RowOf(item->hwndItem) != nullptr) {
        DrawButton(*item);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, Brush(Description().back_colour));
      return 1;
    }
    case WM_ACTIVATE:
      // Not a dialog: keep the focused control across deactivation by hand.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (HIWORD(wparam) == 0) {
        HWND target = focus_;
        if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
          target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        }
        if (target != nullptr) SetFocus(target);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      // IsDialogMessageW asks for this when an arrow key leaves a group
      // for a control that is not an option button; DefWindowProcW would
      // ignore it in a window that is not a dialog.
      HWND next = reinterpret_cast<HWND>(wparam);
      if (LOWORD(lparam) == 0) next = GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0 ? TRUE : FALSE);
      if (next != nullptr && IsChild(hwnd_, next)) SetFocus(next);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_DESTROY:
      // Closing the window ends the program; destroying it from the
      // destructor (tests) does not.
      if (!destroying_) PostQuitMessage(exit_code_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void FormWindow::Command(int id, int code, HWND control) {
  const int row_number = id - kFirstId;
  if (row_number < 0 || row_number >= static_cast<int>(rows_.size())) return;
  // Controls notify while they are still being made (an edit scrolling to
  // its caret), before their row is filled in.
  const Row* found = rows_[static_cast<std::size_t>(row_number)].get();
  if (found == nullptr || found->hwnd != control) return;
  const Row& row = *found;
  switch (code) {
    case BN_CLICKED:
    // An owner-drawn button reports the second press of a double click so;
    // it is a press like any other.
    case BN_DOUBLECLICKED:
      if (row.control->kind != ControlKind::kButton && row.control->kind != ControlKind::kOptionButton) break;
      // BM_CLICK reaches a disabled button too; a disabled button raises
      // no click.
      if (!IsWindowEnabled(control)) break;
      if (row.group != nullptr) {
        row.group->UpdateTabStop();
        // Selecting the selected option again raises nothing.
        if (row.group->selected == control) break;
        row.group->selected = control;
      }
      Deliver([this, &row] { handlers_->Click(*row.control); });
      break;
    default:
      break;
  }
}

LRESULT FormWindow::ControlColour(HWND control, HDC dc, UINT message) {
  const Row* row = RowOf(control);
  if (row == nullptr) return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), AsLParam(control));
  const Colour colour = row->control->back_colour;
  if (colour == kDefaultColour) {
    // Read-only edits ask with WM_CTLCOLORSTATIC and would be grey; the
    // text boxes keep the white of an ordinary text box.
    if (row->control->kind == ControlKind::kTextBox) {
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), AsLParam(control));
  }
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, ToColorRef(colour));
  return reinterpret_cast<LRESULT>(Brush(colour));
}

void FormWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  const Row& row = *RowOf(item.hwndItem);
  const HDC dc = item.hDC;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT area = item.rcItem;
  FillRect(dc, &area, Brush(row.control->back_colour));
  DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  const std::wstring caption = WindowText(item.hwndItem);
  const HGDIOBJ old_font = SelectObject(dc, font_);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  InflateRect(&area, -2, -1);
  if (pressed) OffsetRect(&area, 1, 1);
  // Word-wrapped and centred both ways: DrawText centres multi-line text
  // only across, so measure it and place it.
  constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT measured = area;
  DrawTextW(dc, caption.c_str(), -1, &measured, kFormat | DT_CALCRECT);
  const int text_height = measured.bottom - measured.top;
  if (text_height < area.bottom - area.top) {
    area.top += (area.bottom - area.top - text_height) / 2;
    area.bottom = area.top + text_height;
  }
  if (disabled) {
    // Greyed as the system greys a disabled caption: grey with a light
    // shadow.
    RECT shadow = area;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, caption.c_str(), -1, &shadow, kFormat);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextW(dc, caption.c_str(), -1, &area, kFormat);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);

  // Whether or not the keyboard was used yet, the focus is always shown: over
  // the bevel, and with a white line as wide as the black, as a button may
  // be dark.
  if ((item.itemState & ODS_FOCUS) != 0) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -1, -1);
    DrawFocusMark(dc, focus, 2 * MarkUnit(item.hwndItem), 2 * MarkUnit(item.hwndItem));
  }
}

HBRUSH FormWindow::Brush(Colour colour) {
  const COLORREF key = ToColorRef(colour);
  const auto found = brushes_.find(key);
  if (found != brushes_.end()) return found->second;
  const HBRUSH brush = CreateSolidBrush(key);
  brushes_.emplace(key, brush);
  return brush;
}

FormWindow::Row* FormWindow::RowOf(HWND control) const {
  if (control == nullptr) return nullptr;
  const int row_number = GetDlgCtrlID(control) - kFirstId;
  if (row_number < 0 || row_number >= static_cast<int>(rows_.size())) return nullptr;
  Row* row = rows_[static_cast<std::size_t>(row_number)].get();
  return row != nullptr && row->hwnd == control ? row : nullptr;
}

HWND FormWindow::Widget(std::string_view name, int index) const {
  const int row = FindControl(Description(), name, index);
  if (row < 0 || !rows_[static_cast<std::size_t>(row)]) return nullptr;
  return rows_[static_cast<std::size_t>(row)]->hwnd;
}

bool FormWindow::Load(Handlers& handlers) {
  handlers_ = &handlers;
  Deliver([this] { handlers_->Load(); });
  return !ended_;
}

void FormWindow::Deliver(const std::function<void()>& event) {
  if (ended_ || handlers_ == nullptr) return;
  forms::Deliver(Description(), event, [this](const ErrorReport& report) { Report(report); });
}

void FormWindow::Report(const ErrorReport& report) {
  ended_ = true;
  if (reporter_) {
    reporter_(report);
    return;
  }
  const std::wstring title = Wide(report.title);
  const std::wstring text = Wide(report.message);
  const HWND owner = hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
  exit_code_ = 1;
  PostQuitMessage(1);
}

char DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  // The length counts the terminating null.
  if (length == 2 && separator[0] > 0 && separator[0] < 0x80) return static_cast<char>(separator[0]);
  return '.';
}

}  // namespace forms::win32
