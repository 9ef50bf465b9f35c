// MainForm's stored description, one row per control, apart from its
// handlers: it needs neither the board nor the forms runtime, so that a
// benchmark's plain window can be built from the same rows.
#include "window/main_form_description.h"

#include "forms/cp1251.h"
#include "window/panel_texts.h"

namespace {

using forms::Control;
using forms::cp1251;
using K = forms::ControlKind;
constexpr forms::Colour kNone = forms::kDefaultColour;

// kind, name, index, container, caption, left, top, width, height, colour, tab
// index, visible, multi-line, the labels that name it for a screen reader,
// overhangs its container
// clang-format off
constexpr Control kControls[] = {
    {K::kLabel, "Label1", 0, nullptr, cp1251<"Логика - по 7 бутилки на 3 маси">, 960, 0, 4575, 375, 0xFFC080, 2},
    {K::kLabel, "Label2", 0, nullptr, cp1251<"Пълна">, 3120, 720, 735, 375, 0xC0FFC0, 4},
    {K::kLabel, "Label2", 1, nullptr, cp1251<"Полу">, 3840, 720, 735, 375, 0xFFC080, 6},
    {K::kLabel, "Label2", 2, nullptr, cp1251<"Празна">, 4560, 720, 735, 375, 0xFF80FF, 8},
    {K::kListBox, "List1", 0, nullptr, "", 3120, 1080, 735, 1770, kNone, 3, true, false, {{"Label2", 0}}},
    {K::kListBox, "List1", 1, nullptr, "", 3840, 1080, 735, 1770, kNone, 5, true, false, {{"Label2", 1}}},
    {K::kListBox, "List1", 2, nullptr, "", 4560, 1080, 735, 1770, kNone, 7, true, false, {{"Label2", 2}}},
    {K::kButton, "Command1", 0, nullptr, cp1251<"1 цяла = 2 полу">, 5400, 720, 1695, 495, 0x8080FF, 9},
    {K::kButton, "Command1", 1, nullptr, cp1251<"2 полу = 1 цяла">, 5400, 1320, 1695, 495, 0x8080FF, 10},
    {K::kButton, "Command1", 2, nullptr, cp1251<"Чисти">, 5400, 1920, 1695, 495, 0xFF0000, 11},
    {K::kFrame, "Frame1", -1, nullptr, cp1251<"Бутилки - пълни, празни">, 120, 1200, 2895, 1455, 0xC0C0FF, 26},
    {K::kOptionButton, "Option1", 0, "Frame1", "1-1", 120, 360, 735, 285, 0x80FF80, 27},
    {K::kOptionButton, "Option1", 1, "Frame1", "1-0.5", 960, 360, 975, 285, 0xFFC080, 28},
    {K::kOptionButton, "Option1", 2, "Frame1", "1-0", 2040, 360, 735, 285, 0xFF80FF, 29},
    {K::kOptionButton, "Option1", 3, "Frame1", "2-1", 120, 720, 735, 285, 0x80FF80, 30},
    {K::kOptionButton, "Option1", 4, "Frame1", "2-0.5", 960, 720, 975, 285, 0xFFC080, 31},
    {K::kOptionButton, "Option1", 5, "Frame1", "2-0", 2040, 720, 735, 285, 0xFF80FF, 32},
    {K::kOptionButton, "Option1", 6, "Frame1", "3-1", 120, 1080, 735, 285, 0x80FF80, 33},
    {K::kOptionButton, "Option1", 7, "Frame1", "3-0.5", 960, 1080, 975, 285, 0xFFC080, 34},
    {K::kOptionButton, "Option1", 8, "Frame1", "3-0", 2040, 1080, 735, 285, 0xFF80FF, 35},
    {K::kLabel, "Label2", 3, nullptr, cp1251<"1-ва">, 2400, 2880, 735, 375, 0xFFC080, 12},
    {K::kLabel, "Label2", 4, nullptr, cp1251<"2-ра">, 2400, 3240, 735, 375, 0xFFC080, 13},
    {K::kLabel, "Label2", 5, nullptr, cp1251<"3-та">, 2400, 3600, 735, 375, 0xFFC080, 14},
    {K::kTextBox, "Text2", 0, nullptr, "", 3120, 2880, 735, 405, kNone, 15, true, false, {{"Label2", 3}, {"Label2", 0}}},
    {K::kTextBox, "Text2", 1, nullptr, "", 3840, 2880, 735, 405, kNone, 16, true, false, {{"Label2", 3}, {"Label2", 1}}},
    {K::kTextBox, "Text2", 2, nullptr, "", 4560, 2880, 735, 405, kNone, 17, true, false, {{"Label2", 3}, {"Label2", 2}}},
    {K::kTextBox, "Text2", 3, nullptr, "", 3120, 3240, 735, 405, kNone, 18, true, false, {{"Label2", 4}, {"Label2", 0}}},
    {K::kTextBox, "Text2", 4, nullptr, "", 3840, 3240, 735, 405, kNone, 19, true, false, {{"Label2", 4}, {"Label2", 1}}},
    {K::kTextBox, "Text2", 5, nullptr, "", 4560, 3240, 735, 405, kNone, 20, true, false, {{"Label2", 4}, {"Label2", 2}}},
    {K::kTextBox, "Text2", 6, nullptr, "", 3120, 3600, 735, 405, kNone, 21, true, false, {{"Label2", 5}, {"Label2", 0}}},
    {K::kTextBox, "Text2", 7, nullptr, "", 3840, 3600, 735, 405, kNone, 22, true, false, {{"Label2", 5}, {"Label2", 1}}},
    {K::kTextBox, "Text2", 8, nullptr, "", 4560, 3600, 735, 405, kNone, 23, true, false, {{"Label2", 5}, {"Label2", 2}}},
    {K::kButton, "Command1", 3, nullptr, cp1251<"Постави бутилка">, 120, 2880, 2175, 495, 0x00FF00, 24},
    {K::kButton, "Command1", 4, nullptr, cp1251<"Върни бутилка">, 120, 3480, 2175, 495, 0x008000, 25},
    {K::kFrame, "Frame2", -1, nullptr, cp1251<"Маси-бутилки">, 5400, 2520, 1695, 1575, 0xC0C0FF, 36},
    {K::kLabel, "Label3", 0, "Frame2", "", 120, 360, 1455, 375, 0x8080FF, 37, true, false, {{"Label2", 3}}},
    {K::kLabel, "Label3", 1, "Frame2", "", 120, 720, 1455, 375, 0x8080FF, 38, true, false, {{"Label2", 4}}},
    {K::kLabel, "Label3", 2, "Frame2", "", 120, 1080, 1455, 375, 0x8080FF, 39, true, false, {{"Label2", 5}}},
    {K::kTextBox, "Text1", 0, nullptr, kStatementText, 240, 4320, 6735, 1935, kNone, 0, true, true, {{"Label1", 0}}},
    {K::kTextBox, "Text1", 1, nullptr, kQuotationText, 1320, 5400, 6735, 1815, kNone, 1, false, true, {{"Label1", 0}}, true},
};
// clang-format on

constexpr forms::Form kForm = {
    "MainForm", cp1251<"http://bottles.example.org   Философия - Логика">,
    7200,       6360,
    0xC0C0FF,   {"Times New Roman", 12, 400, 204},
    kControls,
};
static_assert(forms::Problem(kForm) == nullptr, "MainForm's description is inconsistent: see forms::Problem");

}  // namespace

const forms::Form& MainFormDescription() { return kForm; }
