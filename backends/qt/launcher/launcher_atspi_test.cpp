// What a screen reader receives when a launcher window appears, on a real
// accessibility bus (run through run_with_atspi.sh). The reader may not have
// the keyboard in the new window, so its announcement must come as the
// on-screen display's messages do: exactly one object of the window that
// becomes "showing" with the role "notification", named by the announcement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "backends/qt/launcher/qt_launcher_windows.h"
#include "backends/qt/panels/testing/atspi_listener.h"
#include "launcher/testing/launcher_test_support.h"

namespace orva::testing {
namespace {

TEST(LauncherOnTheAccessibilityBus, EachWindowReachesTheScreenReaderAsANotificationWithItsAnnouncement) {
  struct Case {
    const char* window;
    void (smart::Launcher::*show)();
    const char* announcement;
  };
  const Case cases[] = {
      {"vecchia", &smart::Launcher::ShowVecchia,
       "Rilevo nella macchina una precedente versione di OrvaPlayer.\n"
       "Procedo con l'installazione della nuova versione..."},
      {"avviocd", &smart::Launcher::ShowAvvioCd, "Avvio OrvaPlayer dal CD"},
      {"avviohd", &smart::Launcher::ShowAvvioHd, "Avvio OrvaPlayer da Hard Disk"},
      {"scelta", &smart::Launcher::ShowScelta,
       "Non è stata rilevata nessuna versione di OrvaPlayer in questo personal computer.\n"
       "Che cosa si intende fare?"},
  };

  AtSpiListener reader;
  ASSERT_TRUE(reader.Listen());
  QtLauncherViews views;  // the real windows, over a launcher on fakes
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    smart::testing::LauncherOnCd world{&views};
    reader.shown.clear();
    (world.launcher.*c.show)();
    // The window and each of its controls become showing; the reader
    // speaks the one that is a notification.
    std::vector<AtSpiListener::Showing> notifications;
    size_t asked = 0;
    const auto askNew = [&] {
      for (; asked < reader.shown.size(); ++asked)
        if (reader.Role(reader.shown[asked]) == QLatin1String("notification"))
          notifications.push_back(reader.shown[asked]);
      return !notifications.empty();
    };
    ASSERT_TRUE(RunEventsUntil(askNew)) << reader.shown.size() << " showing events, none from a notification";
    RunEventsFor(200);  // a second one would have come by now
    askNew();
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(reader.Name(notifications[0]).toStdString(), c.announcement);
  }
}

}  // namespace
}  // namespace orva::testing

int main(int argc, char** argv) { return orva::testing::RunOnAccessibilityBus(argc, argv); }
