#include "backends/qt/platform/store_session.h"

#include <QAbstractEventDispatcher>
#include <QTimer>

#include "backends/sqlite_registry/sqlite_registry.h"

namespace orva {
namespace {

std::string LineOf(const RegistryFailure& f) {
  return "Impostazioni - " + f.step + ": errore " + std::to_string(f.number) + " (" + f.description + "). " +
         f.detail;
}

}  // namespace

StoreSession::StoreSession(const Opener& open, std::function<void(const std::string&)> unreported)
    : unreported_(std::move(unreported)),
      registry_(open([this](const RegistryFailure& f) { Failed(f); })),
      settings_(*registry_) {
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_,
                     [this] { registry_->Commit(); });
}

StoreSession::~StoreSession() {
  report_ = nullptr;
  registry_->Commit();
  registry_.reset();  // it commits what is left once more as it closes
  ReportWaiting();
}

void StoreSession::ReportFailuresTo(RegistryErrorHandler report) {
  report_ = std::move(report);
  QueueReport();
}

void StoreSession::Finish() {
  registry_->Commit();
  ReportWaiting();
  // The program's objects, which the report uses, go next.
  report_ = nullptr;
}

void StoreSession::Failed(const RegistryFailure& failure) {
  waiting_.push_back(failure);
  QueueReport();
}

void StoreSession::QueueReport() {
  if (!report_ || waiting_.empty() || reportQueued_) return;
  reportQueued_ = true;
  QTimer::singleShot(0, &context_, [this] { ReportWaiting(); });
}

void StoreSession::ReportWaiting() {
  reportQueued_ = false;
  std::vector<RegistryFailure> failures;
  failures.swap(waiting_);
  for (const RegistryFailure& f : failures) {
    if (!report_) {
      unreported_(LineOf(f));
      continue;
    }
    // A report that fails itself must still leave a trace of the failure.
    try {
      report_(f);
    } catch (...) {
      unreported_(LineOf(f));
    }
  }
}

StoreSession::Opener SqliteStoreOf(const Environment& environment) {
  return [&environment](RegistryErrorHandler onFailure) -> std::unique_ptr<Registry> {
    return std::make_unique<SqliteRegistry>(RegistryPathsFromEnvironment(&environment), std::move(onFailure));
  };
}

}  // namespace orva
