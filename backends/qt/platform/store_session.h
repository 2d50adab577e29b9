#pragma once
// The settings store of one program run, and when it is written.
//
// What an event wrote is committed as soon as the event has been handled,
// when the event loop is about to wait for the next one: the other programs
// see it at once, a burst of writes costs one commit, and an abrupt end loses
// at most the event in hand. The store never stops the program: a failure
// met while the store opens, while a setting is read or at a commit waits
// for the next turn of the event loop and then reaches the program's error
// report. It is never shown from inside the store's own call, where a modal
// report would run other events in the middle of a write.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "backends/sqlite_registry/sqlite_file.h"
#include "common/settings/registry.h"
#include "common/settings/settings.h"

namespace orva {

class Environment;

class StoreSession {
 public:
  // Opens the store, handing it the session's failure handler.
  using Opener = std::function<std::unique_ptr<Registry>(RegistryErrorHandler)>;

  // Needs the application to exist. Failures that no report takes (none was
  // given, or the run has finished) are said through `unreported`, a line
  // each.
  StoreSession(const Opener& open, std::function<void(const std::string&)> unreported);
  // Commits once more; what fails now can only go to `unreported`.
  ~StoreSession();
  StoreSession(const StoreSession&) = delete;
  StoreSession& operator=(const StoreSession&) = delete;

  Registry& registry() { return *registry_; }
  Settings& settings() { return settings_; }

  // The program's error report for the store's failures; those met before
  // it was given follow on the next turn of the event loop.
  void ReportFailuresTo(RegistryErrorHandler report);
  // At the end of the run, while the program's objects still live: commits
  // and reports at once what failed and is still waiting, since no turn of
  // the loop may follow.
  void Finish();

 private:
  void Failed(const RegistryFailure& failure);
  void QueueReport();
  void ReportWaiting();

  std::function<void(const std::string&)> unreported_;
  std::vector<RegistryFailure> waiting_;
  RegistryErrorHandler report_;
  bool reportQueued_ = false;
  // Receiver of the loop's signals and timers: none outlives the session.
  QObject context_;
  std::unique_ptr<Registry> registry_;
  Settings settings_;
};

// The real store of the user and of the machine, where the environment says.
StoreSession::Opener SqliteStoreOf(const Environment& environment);

}  // namespace orva
