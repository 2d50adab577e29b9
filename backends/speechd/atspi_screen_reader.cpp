#include "backends/speechd/atspi_screen_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orva {
namespace {

// A property of org.a11y.Status on the session bus; false when it cannot be
// read.
bool StatusProperty(const char* name) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage get = QDBusMessage::createMethodCall(
      QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << QStringLiteral("org.a11y.Status") << QString::fromLatin1(name);
  const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// Orca runs as "orca" or under its interpreter ("python3 /usr/bin/orca").
bool IsOrca(const std::string& cmdline) {
  std::size_t start = 0;
  for (int arg = 0; arg < 2 && start < cmdline.size(); ++arg) {
    const std::size_t end = cmdline.find('\0', start);
    const std::string path =
        cmdline.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (std::filesystem::path(path).filename() == "orca") return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

bool OrcaOfThisUserRunning() try {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat info {};
    if (stat(entry.path().c_str(), &info) != 0 || info.st_uid != getuid()) continue;
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    const std::string cmdline{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (IsOrca(cmdline)) return true;
  }
  return false;
} catch (...) {
  // A process table that cannot be read shows no screen reader.
  return false;
}

}  // namespace

bool AtspiScreenReaderStatus::Running() const {
  if (StatusProperty("ScreenReaderEnabled")) return true;
  return StatusProperty("IsEnabled") && OrcaOfThisUserRunning();
}

}  // namespace orva
