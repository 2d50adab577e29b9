#include "player/panels/handler_guard.h"

#include <gtest/gtest.h>

#include "fakes/recording_dialogs.h"

namespace orva {
namespace {

struct GuardTest : ::testing::Test {
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  std::vector<std::string> Procedures() const {
    std::vector<std::string> out;
    for (const auto& r : dialogs.ErrorReports()) out.push_back(r.procedure + " / " + r.errorText);
    return out;
  }
};

TEST_F(GuardTest, FailureReportsUnderTheHandlersNameAndReturnsTheDefault) {
  const double rate = Guarded(report, "oPl - Get Rate", 0.0, []() -> double { throw VbError(91); });
  EXPECT_EQ(rate, 0.0);
  EXPECT_EQ(Procedures(),
            (std::vector<std::string>{
                "oPl - Get Rate / Variabile oggetto o variabile del blocco With non impostata\r\n"
                "Codice: 91"}));
}

TEST_F(GuardTest, ForeignExceptionsBecomeRuntimeErrors) {
  Guarded(report, "A", [] { throw std::bad_alloc(); });
  Guarded(report, "B", [] { throw std::out_of_range("vector"); });
  Guarded(report, "C", [] { throw 42; });
  EXPECT_EQ(Procedures(),
            (std::vector<std::string>{"A / Memoria esaurita\r\nCodice: 7", "B / vector\r\nCodice: 51",
                                      "C / Errore interno\r\nCodice: 51"}));
}

TEST_F(GuardTest, ResumeNextReportsEachFailureAndGoesOn) {
  StepTrail trail("Playaudio - ");
  ResumeNext run(report, trail);
  std::vector<int> ran;
  trail.Step("apertura");
  run([&] { ran.push_back(1); });
  run([&] { throw VbError(53); });
  trail.Step("posizione");
  EXPECT_FALSE(run([&] { throw VbError(6); }));
  run([&] { ran.push_back(4); });
  EXPECT_EQ(ran, (std::vector<int>{1, 4}));
  EXPECT_EQ(run.Err().Number, 6);
  EXPECT_EQ(Procedures(),
            (std::vector<std::string>{"Playaudio - apertura / Impossibile trovare il file\r\nCodice: 53",
                                      "Playaudio - posizione / Overflow\r\nCodice: 6"}));
}

}  // namespace
}  // namespace orva
