// smart: the launcher on the book's CD.
#include "backends/qt/platform/program_bootstrap.h"

int main(int argc, char** argv) {
  const orva::ProgramSpec spec{
      "smart", "The CD launcher: installs the player, or starts it from the CD or the hard disk.",
      /*takesBook=*/false, /*embedsBrowser=*/false};
  return orva::RunProgram(argc, argv, spec, {}, [](orva::ProgramContext& ctx) {
    ctx.Notice("the launcher windows are not built yet");
  });
}
