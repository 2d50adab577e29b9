#include "tools/undo/undo_form.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"
#include "fakes/scripted_dialogs.h"

namespace orva::undo {
namespace {

TEST(Undo, ResetsBothChoicesWhetherOrNotTheyExist) {
  for (bool existed : {false, true}) {
    SCOPED_TRACE(existed ? "stored before" : "never stored");
    MemoryRegistry registry;
    Settings settings(registry);
    fakes::ScriptedDialogs dialogs;
    if (existed) {
      settings.SaveSetting("NOLinker", "Default", "noform", "1");
      settings.SaveSetting("NOLinker", "Default", "sfogliacd", "1");
    }
    Form1(settings, dialogs).Form_Load();
    EXPECT_EQ(settings.GetSetting("NOLinker", "Default", "noform"), "0");
    EXPECT_EQ(settings.GetSetting("NOLinker", "Default", "sfogliacd"), "0");
    EXPECT_TRUE(dialogs.Shown().empty());
  }
}

TEST(Undo, AStoreThatRefusesIsReportedNotFatal) {
  MemoryRegistry registry;
  registry.SetReadOnly(kHkeyCurrentUser, true);
  Settings settings(registry);
  fakes::ScriptedDialogs dialogs;
  Form1(settings, dialogs).Form_Load();
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].title, "undo");
  EXPECT_EQ(dialogs.Shown()[0].icon, MsgBoxIcon::kCritical);
}

}  // namespace
}  // namespace orva::undo
