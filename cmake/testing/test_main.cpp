// The main of every test program. Before any test runs it points the
// settings stores at a fresh folder of the build tree, one per test process,
// so no test can touch the reader's own settings or the machine's, however
// it is started, and tests running side by side never share a store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const std::string program = argc > 0 ? fs::path(argv[0]).filename().string() : "test";
  const fs::path folder = fs::path(ORVA_TEST_STATE_DIR) / (program + "-" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  setenv("ORVA_REGISTRY_DIR", folder.c_str(), 1);
  setenv("ORVA_MACHINE_REGISTRY", (folder / "machine.sqlite").c_str(), 1);
  setenv("ORVA_SOURCE_DIR", ORVA_TEST_SOURCE_DIR, 0);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  fs::remove_all(folder, ec);
  return result;
}
