#include "player/panels/form_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orva {
namespace {

using C = FormControl;

TEST(FormLayout, ArrangesEveryControlFromTheWindowSize) {
  const std::vector<std::pair<C, TwipRect>> at9000x6000 = {
      {C::objwb, {100, 100, 8700, 5400}},         {C::fraMarcatori, {100, 100, 8700, 5400}},
      {C::ListMarkers, {100, 765, 8500, 4600}},   {C::frmImpExp, {100, 765, 8500, 4600}},
      {C::cmdImpExp2, {6945, 480, 1455, 495}},    {C::frmconfigurazione, {2032, 1732, 4935, 2535}},
      {C::frmOSD, {0, 2452.5, 9000, 1095}},       {C::lblOSD, {0, 120, 9000, 1095}},
      {C::Drive, {100, 4185, 3322.5, 315}},       {C::Dir, {100, 480, 3322.5, 3605}},
      {C::File, {3622.5, 1080, 3222.5, 3320}},    {C::TextFileName, {3622.5, 480, 3222.5, 375}},
      {C::lblNomeFile, {3622.5, 240, 1815, 255}},
  };
  const struct {
    const char* name;
    double width, height;
    bool minimised;
    std::vector<std::pair<C, TwipRect>> places;
    std::vector<std::string> clamped;
  } cases[] = {
      {"at 9000 by 6000", 9000, 6000, false, at9000x6000, {}},
      // Centring rounds down, below zero too; negative sizes become zero.
      {"too small for the chooser",
       2000,
       2000,
       false,
       {{C::frmconfigurazione, {-1468, -268, 4935, 2535}},
        {C::cmdImpExp2, {-55, 480, 1455, 495}},
        {C::Drive, {100, 185, 0, 315}},
        {C::Dir, {100, 480, 0, 0}},
        {C::File, {300, 1080, 0, 0}}},
       {"Drive.Width", "Dir.Height", "File.Height", "File.Width"}},
      {"minimised keeps the last layout", 2000, 2000, true, at9000x6000, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormLayout layout;
    layout.Form_Resize(9000, 6000, false);
    const auto done = layout.Form_Resize(c.width, c.height, c.minimised);
    EXPECT_EQ(done.laidOut, !c.minimised);
    EXPECT_EQ(done.osdHidden, !c.minimised);
    EXPECT_EQ(done.clamped, c.clamped);
    for (const auto& [control, rect] : c.places) EXPECT_EQ(layout[control], rect) << ControlName(control);
  }
}

TEST(FormLayout, ConvertsTwipsAtTheScreenResolution) {
  EXPECT_EQ(ToPixels({0, 2452.5, 9000, 1095}, 96), (PixelRect{0, 164, 600, 73}));
  EXPECT_EQ(PixelsToTwips(96, 144), 960);
  EXPECT_EQ(TwipsToPixels(1440, 0), 96);  // no resolution reported
}

}  // namespace
}  // namespace orva
