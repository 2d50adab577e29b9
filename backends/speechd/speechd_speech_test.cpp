// The voice beside a private speech server (testing/run_with_speechd.sh),
// and the screen reader query on a private accessibility bus
// (backends/qt/panels/testing/run_with_atspi.sh).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "backends/speechd/atspi_screen_reader.h"
#include "backends/speechd/speechd_speech.h"
#include "common/automation/testing/captured_trace.h"

namespace orva {
namespace {

using Lines = std::vector<std::string>;

// The server's file once it has `count` lines, or after five seconds.
Lines Spoken(std::size_t count) {
  Lines lines;
  for (int tenth = 0; tenth < 50 && lines.size() < count; ++tenth) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream in(std::getenv("ORVA_SPEECHD_SPOKEN"));
    lines.clear();
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  return lines;
}

TEST(SpeechdSpeech, SpeaksItalianCancelsAndAnImportantTextGoesFirst) {
  ASSERT_TRUE(std::getenv("ORVA_SPEECHD_SPOKEN")) << "run it through testing/run_with_speechd.sh";
  SpeechdSpeech voice(std::getenv("ORVA_SPEECHD_SOCKET"));
  voice.Speak("Lettura più veloce", SpeechPriority::kMessage);
  EXPECT_EQ(Spoken(1), Lines{"it|Lettura più veloce"});
  // Cancelled, the first text never ends; a message would wait for the one
  // speaking, an important text cuts in.
  voice.Cancel();
  voice.Speak("Pausa", SpeechPriority::kMessage);
  EXPECT_EQ(Spoken(2).back(), "it|Pausa");
  voice.Speak("Errore! Tipo non corrispondente", SpeechPriority::kImportant);
  Lines spoken = Spoken(4);
  spoken.resize(4);
  EXPECT_EQ(spoken,
            (Lines{"it|Lettura più veloce", "it|Pausa", "it|Errore! Tipo non corrispondente", "end"}));
}

TEST(SpeechdSpeech, WithoutAServerItIsSilentAndSaysSoOnce) {
  testing::CapturedTrace trace;
  SpeechdSpeech voice("/nonexistent/speechd.sock");
  voice.Speak("Pausa", SpeechPriority::kMessage);
  voice.Cancel();
  voice.Speak("Play", SpeechPriority::kMessage);
  ASSERT_EQ(trace.Lines().size(), 1u);
  EXPECT_NE(trace.Text().find("the program's voice is off"), std::string::npos);
}

TEST(ScreenReader, EnabledOnTheBusOrAnOrcaRunningBesideIt) {
  int argc = 1;
  char name[] = "speechd_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  // The keyboard test runs a real Orca of this user: not beside this one.
  const auto lockPath =
      std::filesystem::temp_directory_path() / ("orva-orca-" + std::to_string(getuid()) + ".lock");
  const int lock = open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(lock, LOCK_EX), 0);
  const AtspiScreenReaderStatus status;
  EXPECT_FALSE(status.Running()) << "the accessibility bus is on, with no screen reader";

  // A screen reader started by hand only switches the bus on.
  const std::filesystem::path orca =
      std::filesystem::temp_directory_path() / ("orca-" + std::to_string(getpid()));
  std::filesystem::create_directory(orca);
  std::filesystem::copy_file("/bin/sleep", orca / "orca");
  std::string program = (orca / "orca").string();
  char* args[] = {program.data(), const_cast<char*>("30"), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, args, environ), 0);
  EXPECT_TRUE(status.Running());
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  std::filesystem::remove_all(orca);
  EXPECT_FALSE(status.Running());

  // A desktop that starts it says so.
  auto set = QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus",
                                            "org.freedesktop.DBus.Properties", "Set");
  set << "org.a11y.Status"
      << "ScreenReaderEnabled" << QVariant::fromValue(QDBusVariant(true));
  ASSERT_EQ(QDBusConnection::sessionBus().call(set).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(status.Running());
  close(lock);
}

}  // namespace
}  // namespace orva
