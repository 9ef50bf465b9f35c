// The main of the real-widget tests: one QApplication, on the offscreen
// platform unless the test is given a display of its own.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The described look, whatever the desktop that runs the tests asks for:
  // no high contrast from its GTK theme, GNOME's settings (a store in
  // memory) or its portal (a session bus that is not there).
  qunsetenv("GTK_THEME");
  qputenv("GSETTINGS_BACKEND", "memory");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
