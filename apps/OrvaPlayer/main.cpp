// OrvaPlayer: the talking-book player.
#include "backends/qt/platform/program_bootstrap.h"

int main(int argc, char** argv) {
  const orva::ProgramSpec spec{
      "OrvaPlayer", "The accessible talking-book player: shows the book's pages and plays their audio.",
      /*takesBook=*/true, /*embedsBrowser=*/true};
  return orva::RunProgram(argc, argv, spec, {},
                          [](orva::ProgramContext& ctx) { ctx.Notice("the main window is not built yet"); });
}
