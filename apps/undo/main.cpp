// undo: forgets the launcher's remembered choices.
#include "backends/qt/platform/program_bootstrap.h"

int main(int argc, char** argv) {
  const orva::ProgramSpec spec{"undo", "Resets the choices the CD launcher remembers.", /*takesBook=*/false,
                               /*embedsBrowser=*/false};
  return orva::RunProgram(argc, argv, spec, {},
                          [](orva::ProgramContext& ctx) { ctx.Notice("the undo utility is not built yet"); });
}
