// start: starts the installed player through the start-up program.
#include "backends/qt/platform/program_bootstrap.h"

int main(int argc, char** argv) {
  const orva::ProgramSpec spec{"start", "Starts the installed player through its start-up program.",
                               /*takesBook=*/false, /*embedsBrowser=*/false};
  return orva::RunProgram(argc, argv, spec, {}, [](orva::ProgramContext& ctx) {
    ctx.Notice("the start utility is not built yet");
  });
}
