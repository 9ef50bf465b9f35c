// The controls' accessible objects; see accessible.h. COM and its DLLs are
// reached through pointers looked up once, never linked.
#include "forms/win32/accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <new>

#include "forms/runtime.h"
#include "forms/win32/api.h"

namespace forms::win32 {

namespace {

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
// 0 before the first question, 1 while one thread loads, 2 loaded. Not
// InitOnceExecuteOnce, which Windows XP lacks, nor a static local, whose
// guard would bring the thread library's locks into the program.
LONG ole_state = 0;

void LoadOle() {
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
}

// nullptr where any of it is missing: the controls then have the
// system's own objects.
const Ole* LoadedOle() {
  // Once per process, whichever thread's window is asked first; another
  // thread asking meanwhile waits for it.
  if (InterlockedCompareExchange(&ole_state, 1, 0) == 0) {
    LoadOle();
    InterlockedExchange(&ole_state, 2);
  }
  while (InterlockedCompareExchange(&ole_state, 2, 2) != 2) Sleep(0);
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
  ControlAccessible(const Ole& ole, IAccessible* standard, HWND hwnd, BSTR labels, const Spoken& spoken)
      : ole_(ole),
        standard_(standard),
        hwnd_(hwnd),
        labels_(labels),
        then_caption_(spoken.then_caption),
        role_(spoken.role),
        read_only_(spoken.read_only),
        now_(spoken.now) {
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
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* bad_argument) override {
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
    // A label's text is its value too, where a reader looks for a text.
    if (then_caption_ && labels_ != nullptr && IsSelf(child)) {
      if (value == nullptr) return E_POINTER;
      return SpokenNow(value);
    }
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!now_->words.empty() && IsSelf(child)) {
      if (description == nullptr) return E_POINTER;
      *description = ole_.sys_alloc_string_len(now_->words.data(), static_cast<UINT>(now_->words.size()));
      return *description != nullptr ? S_OK : E_OUTOFMEMORY;
    }
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

  // Made when asked, so that a label's name follows its caption and a
  // pool's its count.
  HRESULT SpokenNow(BSTR* name) const {
    if (!now_->name.empty()) {
      *name = ole_.sys_alloc_string_len(now_->name.data(), static_cast<UINT>(now_->name.size()));
      return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
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
  std::shared_ptr<const Spoken::Now> now_;
};

// The object for a control's client area; 0 (the system's own object then)
// when it cannot be made.
LRESULT MakeAccessible(const Ole& ole, HWND hwnd, WPARAM wparam, const Spoken& spoken) {
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
    accessible = new (std::nothrow) ControlAccessible(ole, standard, hwnd, labels, spoken);
    if (accessible == nullptr) ole.sys_free_string(labels);
  }
  standard->Release();
  if (accessible == nullptr) return 0;
  // The client's reference is LresultFromObject's; ours is given back.
  const LRESULT result = ole.lresult_from_object(__uuidof(IAccessible), wparam, accessible);
  accessible->Release();
  return result > 0 ? result : 0;
}

}  // namespace

Apartment::~Apartment() {
  // Joined means loaded.
  if (joined) LoadedOle()->co_uninitialize();
}

Spoken SpokenOf(const Control& control, const std::u16string& labels) {
  Spoken spoken;
  spoken.labels = Wide(labels);
  spoken.then_caption = control.kind == ControlKind::kLabel;
  spoken.role = RoleOf(control.kind);
  spoken.read_only = control.kind == ControlKind::kTextBox;
  return spoken;
}

LRESULT AccessibleObject(HWND hwnd, WPARAM wparam, LPARAM lparam, const Spoken& spoken, Apartment& apartment) {
  // Cast to DWORD first: on 64-bit Windows the lParam may come sign-extended.
  if (static_cast<DWORD>(lparam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
  const Ole* ole = LoadedOle();
  if (ole == nullptr) return 0;
  // WM_GETOBJECT comes on the window's thread, which is the one to join.
  if (!apartment.asked) {
    apartment.asked = true;
    // Joined already (S_FALSE) must be left as well; a thread in the
    // multithreaded apartment is not this one's to leave, and marshals
    // too.
    apartment.joined = SUCCEEDED(ole->co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED));
  }
  return MakeAccessible(*ole, hwnd, wparam, spoken);
}

}  // namespace forms::win32
