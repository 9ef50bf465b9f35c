// The desktop's wish for high contrast; see high_contrast.h.
#include "forms/qt/high_contrast.h"

// GIO first: its headers name fields "signals", which Qt's headers define.
#include <gio/gio.h>

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariant>

namespace forms::qt {

namespace {

// GTK's HighContrast and HighContrastInverse, with or without a variant
// (":dark").
bool HighContrastTheme(const QByteArray& name) { return name.startsWith("HighContrast"); }

// A key of a GNOME schema, when the schema is installed and has the key
// with that type; the schema is looked up first, as GSettings aborts the
// program on a schema it does not know.
GVariant* GnomeSetting(const char* schema_id, const char* key, const GVariantType* type) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, schema_id, TRUE);
  if (schema == nullptr) return nullptr;
  GVariant* value = nullptr;
  if (g_settings_schema_has_key(schema, key)) {
    GSettingsSchemaKey* schema_key = g_settings_schema_get_key(schema, key);
    if (g_variant_type_equal(g_settings_schema_key_get_value_type(schema_key), type)) {
      GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
      value = g_settings_get_value(settings, key);
      g_object_unref(settings);
    }
    g_settings_schema_key_unref(schema_key);
  }
  g_settings_schema_unref(schema);
  return value;
}

// GNOME's accessibility switch, or a high-contrast GTK theme chosen in its
// settings.
bool GnomeAsks() {
  bool asks = false;
  if (GVariant* on = GnomeSetting("org.gnome.desktop.a11y.interface", "high-contrast", G_VARIANT_TYPE_BOOLEAN)) {
    asks = g_variant_get_boolean(on) != FALSE;
    g_variant_unref(on);
  }
  if (asks) return true;
  if (GVariant* theme = GnomeSetting("org.gnome.desktop.interface", "gtk-theme", G_VARIANT_TYPE_STRING)) {
    asks = HighContrastTheme(QByteArray(g_variant_get_string(theme, nullptr)));
    g_variant_unref(theme);
  }
  return asks;
}

// The desktop portal's appearance setting "contrast", 1 for high, on the
// session bus. The portal is asked only when it runs (a portal started for
// this question would hold up the window), and answers within a quarter of
// a second or not at all.
bool PortalAsks() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage read = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
      QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
  read << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("contrast");
  read.setAutoStartService(false);
  const QDBusMessage reply = bus.call(read, QDBus::Block, 250);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  // "Read" wraps the value in a variant of a variant (older portals in one).
  QVariant value = reply.arguments().constFirst();
  while (value.metaType() == QMetaType::fromType<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
  return value.metaType() == QMetaType::fromType<uint>() && value.toUInt() == 1;
}

}  // namespace

bool DesktopAsksHighContrast() { return HighContrastTheme(qgetenv("GTK_THEME")) || GnomeAsks() || PortalAsks(); }

}  // namespace forms::qt
