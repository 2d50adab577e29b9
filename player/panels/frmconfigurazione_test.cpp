#include "player/panels/frmconfigurazione.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/automation/testing/captured_trace.h"

namespace orva {
namespace {

TEST(Frmconfigurazione, ShowingAndHidingIsTracedAndToldToTheViewOncePerChange) {
  testing::CapturedTrace trace;
  FrameVisible visible{Frmconfigurazione::kName, Frmconfigurazione::kCaption};
  Frmconfigurazione panel(visible);
  std::vector<bool> told;
  visible.Changed = [&](bool v) { told.push_back(v); };

  EXPECT_FALSE(panel.Visible);
  // The command key toggles it as the old code did.
  visible = !visible;
  EXPECT_TRUE(panel.Visible);
  visible = true;  // already shown: nothing
  panel.cmdSetupClose_Click();
  EXPECT_FALSE(visible);
  panel.cmdSetupClose_Click();  // already hidden: nothing

  EXPECT_EQ(told, (std::vector<bool>{true, false}));
  const auto lines = trace.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find(R"("window":"frmconfigurazione","state":"shown","caption":"Configurazione")"),
            std::string::npos)
      << lines[0];
  EXPECT_NE(lines[1].find(R"("window":"frmconfigurazione","state":"hidden")"), std::string::npos) << lines[1];
}

}  // namespace
}  // namespace orva
