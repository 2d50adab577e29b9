#include "common/platform/dialogs.h"

#include "common/runtime/text.h"

namespace orva {

const char* ToString(MsgBoxButtons b) {
  switch (b) {
    case MsgBoxButtons::kOkOnly: return "OK";
    case MsgBoxButtons::kOkCancel: return "OKCancel";
    case MsgBoxButtons::kYesNoCancel: return "YesNoCancel";
    case MsgBoxButtons::kYesNo: return "YesNo";
  }
  return "?";
}

const char* ToString(MsgBoxIcon i) {
  switch (i) {
    case MsgBoxIcon::kNone: return "none";
    case MsgBoxIcon::kCritical: return "critical";
    case MsgBoxIcon::kQuestion: return "question";
    case MsgBoxIcon::kExclamation: return "exclamation";
    case MsgBoxIcon::kInformation: return "information";
  }
  return "?";
}

const char* ToString(MsgBoxResult r) {
  switch (r) {
    case MsgBoxResult::kOk: return "OK";
    case MsgBoxResult::kCancel: return "Cancel";
    case MsgBoxResult::kYes: return "Yes";
    case MsgBoxResult::kNo: return "No";
  }
  return "?";
}

bool ParseMsgBoxResult(const std::string& text, MsgBoxResult* out) {
  for (MsgBoxResult r : {MsgBoxResult::kOk, MsgBoxResult::kCancel, MsgBoxResult::kYes, MsgBoxResult::kNo}) {
    if (AsciiEqualsNoCase(text, ToString(r))) {
      *out = r;
      return true;
    }
  }
  return false;
}

}  // namespace orva
