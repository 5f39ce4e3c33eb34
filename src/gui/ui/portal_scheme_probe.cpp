#include "gui/ui/portal_scheme_probe.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

namespace velquist {

namespace {

// The portal wraps the value in one variant, older versions in two.
bool ReadUint(DBusMessageIter* iter, std::uint32_t* out) {
  for (int depth = 0; depth < 3; ++depth) {
    const int type = dbus_message_iter_get_arg_type(iter);
    if (type == DBUS_TYPE_UINT32) {
      dbus_uint32_t value = 0;
      dbus_message_iter_get_basic(iter, &value);
      *out = value;
      return true;
    }
    if (type != DBUS_TYPE_VARIANT) return false;
    DBusMessageIter inner;
    dbus_message_iter_recurse(iter, &inner);
    *iter = inner;
  }
  return false;
}

DesktopScheme SchemeFromReply(DBusMessage* reply) {
  if (dbus_message_get_type(reply) != DBUS_MESSAGE_TYPE_METHOD_RETURN) {
    return DesktopScheme::Unknown;
  }
  DBusMessageIter iter;
  if (!dbus_message_iter_init(reply, &iter)) return DesktopScheme::Unknown;
  std::uint32_t value = 0;
  if (!ReadUint(&iter, &value)) return DesktopScheme::Unknown;
  return DesktopSchemeFromPortal(value);
}

// The bus's greeting, sent by hand: dbus_bus_register would wait the library's default of
// about 25 seconds on a bus that accepts the connection but never answers.
bool GreetBus(DBusConnection* connection, int timeoutMs, DBusError* error) {
  DBusMessage* call = dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                   "org.freedesktop.DBus", "Hello");
  if (!call) return false;
  DBusMessage* reply =
      dbus_connection_send_with_reply_and_block(connection, call, timeoutMs, error);
  dbus_message_unref(call);
  if (!reply) return false;
  dbus_message_unref(reply);
  return true;
}

DesktopScheme AskPortal(DBusConnection* connection, int timeoutMs, DBusError* error) {
  DBusMessage* call = dbus_message_new_method_call("org.freedesktop.portal.Desktop",
                                                   "/org/freedesktop/portal/desktop",
                                                   "org.freedesktop.portal.Settings", "Read");
  if (!call) return DesktopScheme::Unknown;
  const char* group = "org.freedesktop.appearance";
  const char* key = "color-scheme";
  DesktopScheme scheme = DesktopScheme::Unknown;
  if (dbus_message_append_args(call, DBUS_TYPE_STRING, &group, DBUS_TYPE_STRING, &key,
                               DBUS_TYPE_INVALID)) {
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(connection, call, timeoutMs, error);
    if (reply) {
      scheme = SchemeFromReply(reply);
      dbus_message_unref(reply);
    }
  }
  dbus_message_unref(call);
  return scheme;
}

}  // namespace

std::string SessionBusAddress() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address) return address;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return {};
  const std::string socket = std::string(runtime) + "/bus";
  struct stat info {};
  if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return {};
  char* escaped = dbus_address_escape_value(socket.c_str());
  if (!escaped) return {};
  std::string result = std::string("unix:path=") + escaped;
  dbus_free(escaped);
  return result;
}

DesktopScheme ProbePortalScheme(const std::string& busAddress, int timeoutMs) {
  if (busAddress.empty()) return DesktopScheme::Unknown;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* connection = dbus_connection_open_private(busAddress.c_str(), &error);
  DesktopScheme scheme = DesktopScheme::Unknown;
  if (connection) {
    // A bus that goes away must not end the program.
    dbus_connection_set_exit_on_disconnect(connection, FALSE);
    if (GreetBus(connection, timeoutMs, &error)) scheme = AskPortal(connection, timeoutMs, &error);
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
  }
  dbus_error_free(&error);
  return scheme;
}

DesktopScheme StartupDesktopScheme(int colorMode, const std::string& busAddress) {
  if (colorMode == kColorModeLight || colorMode == kColorModeDark) return DesktopScheme::Unknown;
  // libdbus can block without limit on a bus that accepts the connection but never
  // completes its handshake, so the question runs on a thread of its own and the start
  // stops waiting for it after about a second; a bus or portal that slow counts as absent.
  auto answer = std::make_shared<std::promise<DesktopScheme>>();
  std::future<DesktopScheme> scheme = answer->get_future();
  std::thread([answer, busAddress] {
    answer->set_value(ProbePortalScheme(busAddress, 500));
  }).detach();
  if (scheme.wait_for(std::chrono::milliseconds(1200)) != std::future_status::ready) {
    return DesktopScheme::Unknown;
  }
  return scheme.get();
}

}  // namespace velquist
