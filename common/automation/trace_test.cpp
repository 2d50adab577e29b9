#include "common/automation/trace.h"

#include <gtest/gtest.h>

#include "common/automation/testing/captured_trace.h"
#include "common/automation/trace_events.h"
#include "common/automation/traced_services.h"
#include "common/runtime/vb_error.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_process_launcher.h"
#include "fakes/virtual_event_loop.h"

namespace orva {
namespace {

TEST(JsonQuote, EscapesWhatJsonRequires) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", R"("plain")"},   {"a\"b\\c", R"("a\"b\\c")"},
      {"\r\n\t", R"("\r\n\t")"}, {std::string("\x01\x1f", 2), R"("\u0001\u001f")"},
      {"perché", "\"perché\""},  {"bad\xE8", "\"bad\xEF\xBF\xBD\""},  // a Windows-1252 byte is not UTF-8
  };
  for (const auto& [text, json] : cases) {
    SCOPED_TRACE(json);
    EXPECT_EQ(JsonQuote(text), json);
  }
}

TEST(TraceEvent, WritesOneObjectPerLineWithTimeAndTypedFields) {
  fakes::VirtualEventLoop clock;
  clock.Sleep(500);  // the time counts from installing the trace
  testing::CapturedTrace trace(&clock);
  clock.Sleep(42);
  TraceEvent("mixed",
             {{"s", "x"}, {"i", 3}, {"b", false}, {"d", 0.5}, {"l", std::vector<std::string>{"a", "\""}}});
  TraceEvent("empty_list", {{"l", std::vector<std::string>{}}});
  TraceWindowShown("frmBrowser", "ORVA Player");
  TraceWindowHidden("frmBrowser");
  TraceNotice("no player could be set up");
  const std::vector<std::string> expected = {
      R"({"t":42,"ev":"mixed","s":"x","i":3,"b":false,"d":0.5,"l":["a","\""]})",
      R"({"t":42,"ev":"empty_list","l":[]})",
      R"({"t":42,"ev":"window","window":"frmBrowser","state":"shown","caption":"ORVA Player"})",
      R"({"t":42,"ev":"window","window":"frmBrowser","state":"hidden"})",
      R"({"t":42,"ev":"notice","text":"no player could be set up"})",
  };
  EXPECT_EQ(trace.Lines(), expected);
  InstallTrace(nullptr, nullptr);
  EXPECT_FALSE(TraceEnabled());
  TraceEvent("ignored", {{"k", "v"}});  // costs one branch, writes nothing
  EXPECT_EQ(trace.Lines(), expected);
}

TEST(TracedServices, TraceEveryAttemptAndPassFailuresOn) {
  testing::CapturedTrace trace;
  fakes::RecordingProcessLauncher outsideLauncher;
  fakes::MemoryFileSystem disk;
  disk.AddFile("/tmp/locked.reg");
  disk.SetReadOnly("/tmp/locked.reg");
  outsideLauncher.SetMissing("/opt/orva/gone");
  TracedProcessLauncher launcher(outsideLauncher);
  TracedFileSystem files(disk);

  launcher.Start("/opt/orva/linker", {"a b", "c"}, WindowStyle::kNormalFocus);
  launcher.StartCommandLine("setup.sh /quiet", WindowStyle::kHide);
  files.WriteText("/tmp/x.reg", "REGEDIT4\r\n");
  EXPECT_THROW(files.DeleteFile("/tmp/locked.reg"), VbError);
  EXPECT_THROW(launcher.Start("/opt/orva/gone", {}, WindowStyle::kMaximizedFocus), VbError);

  const std::vector<std::string> expected = {
      R"({"t":0,"ev":"process","program":"/opt/orva/linker","args":["a b","c"],"style":"normal","error":0})",
      R"({"t":0,"ev":"process","command_line":"setup.sh /quiet","style":"hide","error":0})",
      R"({"t":0,"ev":"file","op":"write","path":"/tmp/x.reg","bytes":10,"error":0})",
      R"({"t":0,"ev":"file","op":"delete","path":"/tmp/locked.reg","error":70})",
      R"({"t":0,"ev":"process","program":"/opt/orva/gone","args":[],"style":"maximized","error":53})",
  };
  EXPECT_EQ(trace.Lines(), expected);
}

}  // namespace
}  // namespace orva
