// What a screen reader is told about MainForm's Win32 controls, asked as one
// asks: through the system's accessibility API (MSAA), for every control that
// can take the focus, the summaries, and the labels and frames.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/win32_fixture.h"

namespace {

using win32_test::Game;
using win32_test::Pump;
using win32_test::Utf8;

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};
using Accessible = std::unique_ptr<IAccessible, Release>;

// Every test has COM for its thread, as a client of MSAA must.
class Win32AccessibilityTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

VARIANT Child(LONG id) {
  VARIANT child = Self();
  child.lVal = id;
  return child;
}

// The interface's id from the compiler, as the back end takes it: the x86-64
// import library of oleacc also names IID_IAccessible, as a code thunk,
// and a program linked against it first would pass that thunk's bytes.
const IID kAccessible = __uuidof(IAccessible);

// The object of a control's client area, as a screen reader gets it.
Accessible Find(HWND hwnd) {
  IAccessible* found = nullptr;
  const HRESULT got =
      AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kAccessible, reinterpret_cast<void**>(&found));
  return Accessible(SUCCEEDED(got) ? found : nullptr);
}

Accessible Of(HWND hwnd) {
  Accessible found = Find(hwnd);
  EXPECT_NE(found, nullptr);
  return found;
}

std::u16string Taken(BSTR text) {
  const std::size_t length = SysStringLen(text);  // 0 for no string
  std::u16string out(text, text + length);
  SysFreeString(text);
  return out;
}

// What a screen reader speaks; "<no name>" when it is told none.
std::u16string NameOf(IAccessible& object, VARIANT child = Self()) {
  BSTR name = nullptr;
  if (object.get_accName(child, &name) != S_OK) {
    SysFreeString(name);
    return u"<no name>";
  }
  return Taken(name);
}

std::u16string NameOf(HWND hwnd) {
  const Accessible object = Find(hwnd);
  return object != nullptr ? NameOf(*object) : u"<no object>";
}

LONG RoleOf(IAccessible& object) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object.get_accRole(Self(), &role)) || role.vt != VT_I4) {
    VariantClear(&role);
    return -1;
  }
  return role.lVal;
}

// The events the system passes on to a screen reader that listens.
std::vector<std::pair<HWND, LONG>> name_changes;
void CALLBACK OnNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (child == CHILDID_SELF) name_changes.emplace_back(hwnd, object);
}

// A summary's object follows its caption, the one already handed out too,
// and the system tells a listening screen reader that its name changed.
TEST_F(Win32AccessibilityTest, ASummarysObjectFollowsItsCaptionAndSaysSo) {
  Game g;
  const Accessible second = Of(g.W("Label3", 1));
  ASSERT_NE(second, nullptr);
  name_changes.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &OnNameChange,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  g.Click("Option1", 4);
  g.Click("Command1", 3);
  Pump();
  UnhookWinEvent(hook);
  EXPECT_EQ(Utf8(NameOf(*second)), "2-ра = 1 / 0.5");
  EXPECT_NE(std::find(name_changes.begin(), name_changes.end(), std::pair<HWND, LONG>{g.W("Label3", 1), OBJID_CLIENT}),
            name_changes.end());
  // A cell's value is what it shows.
  const Accessible cell = Of(g.W("Text2", 4));
  ASSERT_NE(cell, nullptr);
  BSTR value = nullptr;
  ASSERT_EQ(cell->get_accValue(Self(), &value), S_OK);
  EXPECT_EQ(Utf8(Taken(value)), "1");
}

std::vector<std::pair<HWND, DWORD>> client_events;
void CALLBACK OnClientEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) client_events.emplace_back(hwnd, event);
}

// The words of a move reach a screen reader through the pressed button,
// which keeps the focus: its description, and the event that it changed;
// the pool that changed tells its new name; a summary's text is its value.
TEST_F(Win32AccessibilityTest, AMovesWordsAreThePressedButtonsDescription) {
  Game g;
  g.Click("Option1", 4);
  const HWND button = g.W("Command1", 3);
  SetFocus(button);
  ASSERT_EQ(GetFocus(), button);
  client_events.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                                             &OnClientEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  g.Click("Command1", 3);
  Pump();
  UnhookWinEvent(hook);
  const auto heard = [](HWND hwnd, DWORD event) {
    return std::find(client_events.begin(), client_events.end(), std::pair<HWND, DWORD>{hwnd, event}) !=
           client_events.end();
  };
  EXPECT_TRUE(heard(button, EVENT_OBJECT_DESCRIPTIONCHANGE));
  EXPECT_TRUE(heard(g.W("List1", 1), EVENT_OBJECT_NAMECHANGE));
  EXPECT_EQ(GetFocus(), button);
  const Accessible pressed = Of(button);
  ASSERT_NE(pressed, nullptr);
  BSTR words = nullptr;
  ASSERT_EQ(pressed->get_accDescription(Self(), &words), S_OK);
  EXPECT_EQ(Utf8(Taken(words)), "2-ра, Полу: 1. 2-ра = 1 / 0.5. Полу: 6. Недостъпни: 1 цяла = 2 полу, 2 полу = 1 цяла");
  EXPECT_EQ(Utf8(NameOf(g.W("List1", 1))), "Полу: 6");
  const Accessible summary = Of(g.W("Label3", 1));
  ASSERT_NE(summary, nullptr);
  BSTR value = nullptr;
  ASSERT_EQ(summary->get_accValue(Self(), &value), S_OK);
  EXPECT_EQ(Utf8(Taken(value)), "2-ра = 1 / 0.5");
}

// What the system's own object of a control says, asked without the control.
Accessible StandardOf(HWND hwnd) {
  IAccessible* made = nullptr;
  const HRESULT got = CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kAccessible, reinterpret_cast<void**>(&made));
  EXPECT_TRUE(SUCCEEDED(got)) << std::hex << got;
  return Accessible(SUCCEEDED(got) ? made : nullptr);
}

using TextAnswer = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::pair<HRESULT, std::string> Ask(IAccessible& object, TextAnswer question, VARIANT child = Self()) {
  BSTR text = nullptr;
  const HRESULT got = (object.*question)(child, &text);
  return {got, Utf8(Taken(text))};
}

std::pair<HRESULT, LONG> StateOf(IAccessible& object) {
  VARIANT state;
  VariantInit(&state);
  const HRESULT got = object.get_accState(Self(), &state);
  const LONG value = state.vt == VT_I4 ? state.lVal : -1;
  VariantClear(&state);
  return {got, value};
}

std::pair<HRESULT, LONG> ChildrenOf(IAccessible& object) {
  LONG count = -1;
  const HRESULT got = object.get_accChildCount(&count);
  return {got, count};
}

std::pair<HRESULT, std::vector<LONG>> LocationOf(IAccessible& object) {
  std::vector<LONG> box(4, -1);
  const HRESULT got = object.accLocation(&box[0], &box[1], &box[2], &box[3], Self());
  return {got, box};
}

// The objects handed out are the system's own in everything but the name
// (and the role the system cannot tell): the state, the value, the
// children and their names, the place, the window they belong to, and
// COM's rules.
TEST_F(Win32AccessibilityTest, AnObjectIsTheSystemsOwnOtherwise) {
  Game g;
  g.Select(4);
  g.Press(3);
  const std::pair<const char*, int> controls[] = {{"List1", 1},  {"Text2", 4},  {"Command1", 3}, {"Option1", 4},
                                                  {"Label3", 1}, {"Label2", 0}, {"Frame1", -1}};
  for (const auto& [name, index] : controls) {
    SCOPED_TRACE(std::string(name) + "(" + std::to_string(index) + ")");
    const HWND w = g.W(name, index);
    const Accessible ours = Of(w);
    const Accessible standard = StandardOf(w);
    ASSERT_NE(ours, nullptr);
    ASSERT_NE(standard, nullptr);
    // A text box is read-only, which not every system's object says.
    auto state = StateOf(*standard);
    if (std::string(name) == "Text2") state.second |= STATE_SYSTEM_READONLY;
    EXPECT_EQ(StateOf(*ours), state);
    EXPECT_EQ(ChildrenOf(*ours), ChildrenOf(*standard));
    EXPECT_EQ(LocationOf(*ours), LocationOf(*standard));
    // A summary's value is its text (AMovesWordsAreThePressedButtonsDescription).
    if (std::string(name) != "Label3") {
      EXPECT_EQ(Ask(*ours, &IAccessible::get_accValue), Ask(*standard, &IAccessible::get_accValue));
    }
    EXPECT_EQ(Ask(*ours, &IAccessible::get_accDefaultAction), Ask(*standard, &IAccessible::get_accDefaultAction));
    EXPECT_EQ(Ask(*ours, &IAccessible::get_accKeyboardShortcut), Ask(*standard, &IAccessible::get_accKeyboardShortcut));
    EXPECT_EQ(Ask(*ours, &IAccessible::get_accName, Child(1)), Ask(*standard, &IAccessible::get_accName, Child(1)));
    const LONG role = RoleOf(*standard);
    EXPECT_TRUE(role == RoleOf(*ours) || role == ROLE_SYSTEM_CLIENT) << role;
    // A control no label names has the system's name.
    const forms::Form& form = MainForm::Description();
    const auto row = static_cast<std::size_t>(forms::FindControl(form, name, index));
    if (forms::LabelledName(form, form.controls[row]).empty()) {
      EXPECT_EQ(Ask(*ours, &IAccessible::get_accName), Ask(*standard, &IAccessible::get_accName));
    }
  }

  const HWND list = g.W("List1", 0);
  const Accessible pool = Of(list);
  ASSERT_NE(pool, nullptr);

  HWND found = nullptr;
  ASSERT_EQ(WindowFromAccessibleObject(pool.get(), &found), S_OK);
  EXPECT_EQ(found, list);

  IUnknown* from_accessible = nullptr;
  ASSERT_EQ(pool->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&from_accessible)), S_OK);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(pool->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  IUnknown* from_dispatch = nullptr;
  ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&from_dispatch)), S_OK);
  EXPECT_EQ(from_accessible, from_dispatch);
  IUnknown* unknown_interface = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(pool->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&unknown_interface)), E_NOINTERFACE);
  EXPECT_EQ(unknown_interface, nullptr);

  // Late-bound, as a script asks.
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(dispatch->Invoke(DISPID_ACC_NAME, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                             nullptr, nullptr),
            S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(Utf8(Taken(result.bstrVal)), "Пълна: 7");  // a pool's name says its count
  from_dispatch->Release();
  dispatch->Release();
  from_accessible->Release();
}

// A screen reader may hold on to an object after its control is gone.
TEST_F(Win32AccessibilityTest, AnObjectOutlivesItsControl) {
  auto window = std::make_unique<forms::win32::FormWindow>(MainForm::Description());
  const Accessible cell = Of(window->Widget("Text2", 4));
  const Accessible summary = Of(window->Widget("Label3", 2));
  ASSERT_NE(cell, nullptr);
  ASSERT_NE(summary, nullptr);
  window.reset();
  Pump();
  EXPECT_EQ(Utf8(NameOf(*cell)), "2-ра Полу");
  EXPECT_EQ(Utf8(NameOf(*summary)), "3-та");
}

// A screen reader asks from another apartment, through COM's proxies, while
// the window's thread goes on with its messages; that thread joins COM
// through the window alone, as the program's does.
TEST(Win32AccessibilityFromElsewhereTest, AnotherThreadHearsTheNames) {
  Game g;
  const HWND cell = g.W("Text2", 4);
  const HWND summary = g.W("Label3", 1);
  const HWND button = g.W("Command1", 3);
  g.Select(4);
  g.Press(3);
  std::u16string cell_name, summary_name, button_name;
  LONG cell_role = 0;
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(done, nullptr);
  std::thread reader([&] {
    if (SUCCEEDED(CoInitialize(nullptr))) {
      // No test assertions here: they belong to the test's own thread.
      if (const Accessible a = Find(cell)) {
        cell_name = NameOf(*a);
        cell_role = RoleOf(*a);
      }
      summary_name = NameOf(summary);
      button_name = NameOf(button);
      CoUninitialize();
    }
    SetEvent(done);
  });
  // The reader's questions arrive as messages to this thread.
  while (WaitForSingleObject(done, 0) != WAIT_OBJECT_0) {
    MsgWaitForMultipleObjects(1, &done, FALSE, 100, QS_ALLINPUT);
    Pump();
  }
  reader.join();
  CloseHandle(done);
  EXPECT_EQ(Utf8(cell_name), "2-ра Полу");
  EXPECT_EQ(cell_role, ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Utf8(summary_name), "2-ра = 1 / 0.5");
  EXPECT_EQ(Utf8(button_name), "Постави бутилка");
}

}  // namespace
