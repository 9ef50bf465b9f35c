// The page's form as markup; see markup.h. The elements are those the
// script used to make one by one: the same roles, names and tab order.
#include "forms/web/markup.h"

#include <map>
#include <string_view>
#include <vector>

#include "forms/back_end.h"
#include "forms/cp1251.h"

// A kind missing from KindName is an error whatever the build's warnings.
#pragma clang diagnostic error "-Wswitch"

namespace forms::web {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel: return "label";
    case ControlKind::kFrame: return "frame";
    case ControlKind::kOptionButton: return "option";
    case ControlKind::kButton: return "button";
    case ControlKind::kTextBox: return "text";
    case ControlKind::kListBox: return "list";
  }
  return "";
}

namespace {

// The texts are all of the Basic Multilingual Plane (Windows-1251's).
std::string Utf8(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Text as the content of an element or the value of a quoted attribute.
std::string Escaped(std::u16string_view text) {
  std::string out;
  for (const char c : Utf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string FromCp1251(std::string_view text) { return Escaped(WithLineFeeds(DecodeCp1251(text))); }

std::string Hex(Colour c) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = "#";
  for (int shift = 20; shift >= 0; shift -= 4) out += kDigits[(c >> shift) & 0xF];
  return out;
}

// A length in CSS pixels that grows with the form's units: the page widens
// (--ux) and heightens (--uy) the whole form when its text needs more room.
std::string Length(int px, const char* unit) { return "calc(" + std::to_string(px) + "px * var(" + unit + "))"; }

class Writer {
 public:
  explicit Writer(MemoryControls& controls) : controls_(controls), form_(controls.Description()) {}

  Markup Write() {
    Markup m;
    const std::u16string caption = DecodeCp1251(form_.caption);
    m.caption = Utf8(caption);
    // No-break blanks keep the caption's runs of blanks as written.
    std::u16string kept = caption;
    for (std::size_t i = 0; i + 1 < kept.size(); ++i) {
      if (kept[i] != u' ' || kept[i + 1] != u' ') continue;
      for (; i < kept.size() && kept[i] == u' '; ++i) kept[i] = u'\u00a0';
    }
    m.title = Escaped(kept);
    m.style = "#MainForm { width: " + Length(TwipsToPixels(form_.client_width, 96), "--ux") +
              "; height: " + Length(TwipsToPixels(form_.client_height, 96), "--uy") +
              "; background: " + Hex(form_.back_colour) + "; font-family: \"" + form_.font.name +
              "\", \"Liberation Serif\", serif; font-size: " + std::to_string(form_.font.points) + "pt; }\n";
    // Each control goes into its container in tab order.
    std::map<int, std::vector<std::size_t>> children;
    for (const std::size_t row : BackEnd::CreationOrder(form_)) {
      const Placement p = BackEnd::Place(form_, row, 96);
      children[p.container].push_back(row);
      m.style += Rule(p);
    }
    children_ = &children;
    // The page's heading, for those who find their way by headings: the
    // caption without the site before it, as the error box's title.
    const std::size_t site_end = caption.rfind(u"   ");
    const std::u16string heading = site_end == std::u16string::npos ? caption : caption.substr(site_end + 3);
    m.form = std::string("<main id=\"") + form_.name + "\" inert><h1 class=\"unseen\">" + Escaped(heading) + "</h1>" +
             Children(-1) +
             // The one place that says what each move changed, politely, as a whole.
             "<div class=\"unseen\" id=\"forms-status\" role=\"status\" aria-atomic=\"true\"></div></main>";
    return m;
  }

 private:
  static std::string Rule(const Placement& p) {
    const Box& b = p.in_container;
    std::string rule = "#MainForm [data-row=\"" + std::to_string(p.row) + "\"] { left: " + Length(b.left, "--ux") +
                       "; top: " + Length(b.top, "--uy") + "; width: " + Length(b.width, "--ux") +
                       "; height: " + Length(b.height, "--uy") + ";";
    if (p.control->back_colour != kDefaultColour) rule += " background: " + Hex(p.control->back_colour) + ";";
    return rule + " }\n";
  }

  std::string Children(int container) {
    std::string out;
    const auto it = children_->find(container);
    if (it == children_->end()) return out;
    for (const std::size_t row : it->second) out += Element(BackEnd::Place(form_, row, 96));
    return out;
  }

  // The attributes every control's box has: its row, by which the script
  // finds it, its array name and index, and its kind.
  static std::string Open(const Placement& p, const char* tag, const std::string& more) {
    const Control& c = *p.control;
    // A text box is a panel of lines or a cell of one.
    const char* look = c.kind != ControlKind::kTextBox ? "" : c.multi_line ? " panel" : " cell";
    std::string out = std::string("<") + tag + " class=\"control " + KindName(c.kind) + look + "\" data-row=\"" +
                      std::to_string(p.row) + "\" data-name=\"" + c.name + "\"";
    if (c.index >= 0) out += " data-index=\"" + std::to_string(c.index) + "\"";
    if (!c.visible) out += " hidden";
    return out + more + ">";
  }

  static std::string Named(const Placement& p) {
    return p.spoken.empty() ? "" : " aria-label=\"" + Escaped(p.spoken) + "\"";
  }

  std::string Element(const Placement& p) {
    const Control& c = *p.control;
    // What the browser kept of an earlier visit is not the program's: no
    // field is restored (autocomplete off), the load writes them all.
    const std::string unkept = " autocomplete=\"off\"";
    switch (c.kind) {
      case ControlKind::kLabel: {
        const std::string caption = Escaped(DecodeCp1251(controls_.Get<board::MemoryCaption>(c.name, c.index).caption));
        const std::string named =
            // Not a live region of its own: the form's status says what changed.
            p.spoken.empty() ? "" : " role=\"note\" aria-label=\"" + Escaped(p.spoken) + caption + "\"";
        return Open(p, "div", named) + caption + "</div>";
      }
      case ControlKind::kFrame: {
        const std::string legend = std::string(c.name) + "-caption";
        bool options = false;
        for (const std::size_t row : (*children_)[static_cast<int>(p.row)])
          options = options || form_.controls[row].kind == ControlKind::kOptionButton;
        return Open(p, "div",
                    std::string(" role=\"") + (options ? "radiogroup" : "group") + "\" aria-labelledby=\"" + legend +
                        "\"") +
               "<div class=\"edge\"></div><span class=\"legend\" id=\"" + legend + "\">" + FromCp1251(c.caption) +
               "</span>" + Children(static_cast<int>(p.row)) + "</div>";
      }
      case ControlKind::kOptionButton: {
        // The whole box is the radio's label, so a click anywhere in it
        // selects. The group is one stop of Tab: the selected one, or else
        // the first.
        const bool checked = controls_.Get<board::MemoryOption>(c.name, c.index).value;
        bool stop = checked;
        if (!stop) {
          bool any = false;
          for (int i = 0; FindRow(form_.controls, c.name, i) != nullptr; ++i)
            any = any || controls_.Get<board::MemoryOption>(c.name, i).value;
          stop = !any && c.index == 0;
        }
        return Open(p, "label", "") + "<input type=\"radio\" name=\"group-" + std::to_string(p.group) +
               "\" tabindex=\"" + (stop ? "0" : "-1") + "\"" + (checked ? " checked" : "") + unkept + Named(p) +
               "><span>" + FromCp1251(c.caption) + "</span></label>";
      }
      case ControlKind::kButton: {
        const bool enabled = controls_.Get<board::MemorySwitch>(c.name, c.index).enabled;
        return Open(p, "button", std::string(" type=\"button\"") + (enabled ? "" : " disabled") + unkept + Named(p)) +
               FromCp1251(c.caption) + "</button>";
      }
      case ControlKind::kTextBox: {
        const std::string value = FromCp1251(controls_.Get<board::MemoryText>(c.name, c.index).text);
        const std::string more = " readonly aria-readonly=\"true\"" + unkept + Named(p);
        // A text area's first line feed would be taken for the markup's.
        if (c.multi_line) return Open(p, "textarea", more) + "\n" + value + "</textarea>";
        return Open(p, "input", " type=\"text\" value=\"" + value + "\"" + more);
      }
      case ControlKind::kListBox: {
        // Drawn by the page, so that every engine, a phone's too, shows a
        // list of the same rows.
        // Named with its count, as each move names it anew.
        const auto& entries = controls_.Get<board::MemoryList>(c.name, c.index).entries;
        const std::string count = std::to_string(entries.size());
        std::string out =
            Open(p, "div", " role=\"listbox\" tabindex=\"0\" aria-label=\"" + Escaped(p.spoken) + ": " + count + "\"");
        for (const std::string& entry : entries)
          out += "<div class=\"entry\" role=\"option\" aria-selected=\"false\">" + FromCp1251(entry) + "</div>";
        return out + "</div>";
      }
    }
    return {};
  }

  MemoryControls& controls_;
  const Form& form_;
  std::map<int, std::vector<std::size_t>>* children_ = nullptr;
};

}  // namespace

Markup FormMarkup(MemoryControls& controls) { return Writer(controls).Write(); }

}  // namespace forms::web
