// Whether the Linux desktop asks for high contrast, asked of each place a
// desktop says so. Kept apart from the window: GIO's headers and Qt's
// keywords do not mix in one file.
#pragma once

namespace forms::qt {

// True when GTK_THEME names a high-contrast theme, when GNOME's settings
// ask for one (the accessibility switch, or such a GTK theme), or when the
// desktop portal's contrast preference is "high". A missing schema, session
// bus or portal counts as "not asked". Asks anew at each call.
bool DesktopAsksHighContrast();

}  // namespace forms::qt
