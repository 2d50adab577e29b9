#include "player/panels/mdlMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "fakes/recording_dialogs.h"

namespace orva {
namespace {

TEST(MostraErrore, ShowsProcedureAndTextOnOneDiagnosticLine) {
  const struct {
    const char* name;
    std::string message;
    ErrObject err;
    std::string expectedText;
  } cases[] = {
      {"empty message describes the error",
       "",
       {13, "Tipo non corrispondente"},
       "Tipo non corrispondente\r\nCodice: 13"},
      {"own message is shown alone",
       "Versione Media Player non supportata! Verrà reimpostata la versione precedente!",
       {5, "Chiamata di routine o argomento non validi"},
       "Versione Media Player non supportata! Verrà reimpostata la versione precedente!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::RecordingDialogs dialogs;
    std::ostringstream diag;
    MdlMain(dialogs, &diag).MostraErrore("oPl - Get Rate", c.message, c.err);
    const auto reports = dialogs.ErrorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].caption, "ORVA Player - Segnalazioni");
    EXPECT_EQ(reports[0].procedureTitle, "Prg:");
    EXPECT_EQ(reports[0].errorTitle, "Errore!");
    EXPECT_EQ(reports[0].okCaption, "OK");
    EXPECT_EQ(reports[0].procedure, "oPl - Get Rate");
    EXPECT_EQ(reports[0].errorText, c.expectedText);
    const std::string line = diag.str();
    EXPECT_EQ(line.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
  }
}

}  // namespace
}  // namespace orva
