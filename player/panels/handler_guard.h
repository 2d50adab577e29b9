#pragma once
// How every handler of the player traps its failures: the body runs; on a
// failure the error report shows the handler's name (or its fixed prefix and
// the step it last recorded) and the handler ends with its default result.
//
//   int Rate() {
//     return Guarded(report_, "oPl - Get Rate", 0, [&] { return host_->Rate(); });
//   }
//
//   StepTrail trail("Form Load - ");
//   Guarded(report_, trail, [&] {
//     trail.Step("Form Load: caricamento settings");
//     ...
//   });

#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "common/runtime/vb_error.h"
#include "player/panels/mdlMain.h"

namespace orva {

// The step label a long procedure records before each stage; the report
// names the procedure as prefix + label.
class StepTrail {
 public:
  explicit StepTrail(std::string prefix) : prefix_(std::move(prefix)) {}
  void Step(std::string label) { label_ = std::move(label); }
  const std::string& Label() const { return label_; }
  std::string ProcedureName() const { return prefix_ + label_; }

 private:
  std::string prefix_;
  std::string label_;
};

// Runs `body`; a failure is reported under `procedure` and `fallback` is
// returned. The body may also assign to a result it shares with the caller
// (the old "function returns what it held") and return nothing.
template <class T, class Body>
T Guarded(MdlMain& report, std::string_view procedure, T fallback, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    report.MostraErrore(std::string(procedure), {}, ErrFromException(std::current_exception()));
    return fallback;
  }
}

template <class Body>
void Guarded(MdlMain& report, std::string_view procedure, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    report.MostraErrore(std::string(procedure), {}, ErrFromException(std::current_exception()));
  }
}

// As above, naming the procedure by its trail's current step.
template <class Body>
void Guarded(MdlMain& report, const StepTrail& trail, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    report.MostraErrore(trail.ProcedureName(), {}, ErrFromException(std::current_exception()));
  }
}

// Runs `body`, and forgets a failure: for optional page elements and
// cosmetic steps whose failure the program ignores. Returns the failure
// (Number 0 when none), as the old Err object would hold it.
template <class Body>
ErrObject IgnoringErrors(Body&& body) {
  try {
    std::forward<Body>(body)();
    return {};
  } catch (...) {
    return ErrFromException(std::current_exception());
  }
}

// For the procedures that, after a failed statement is reported, go on with
// the next statement. Each statement is one call; Err() holds the last
// failure, like the old Err object, until Clear().
class ResumeNext {
 public:
  ResumeNext(MdlMain& report, const StepTrail& trail) : report_(report), trail_(trail) {}

  // Runs one statement; on failure reports it under the trail's current
  // step and returns false.
  template <class Stmt>
  bool operator()(Stmt&& stmt) {
    try {
      std::forward<Stmt>(stmt)();
      return true;
    } catch (...) {
      err_ = ErrFromException(std::current_exception());
      report_.MostraErrore(trail_.ProcedureName(), {}, err_);
      return false;
    }
  }

  // Runs one statement whose failure is not reported, only recorded in Err().
  template <class Stmt>
  bool Quietly(Stmt&& stmt) {
    ErrObject e = IgnoringErrors(std::forward<Stmt>(stmt));
    if (e.Number == 0) return true;
    err_ = e;
    return false;
  }

  const ErrObject& Err() const { return err_; }
  void Clear() { err_ = {}; }

 private:
  MdlMain& report_;
  const StepTrail& trail_;
  ErrObject err_;
};

}  // namespace orva
