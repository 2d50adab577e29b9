// What a page gets once it has loaded: its bookmark list (on the book's
// index page, the bookmarks of the whole book), the window caption, the book
// style sheet, its audio, a bookmark recall waiting for it and, from an index
// page, the book's own message texts.
//
// The bookmark list and the message texts are reported when they fail, and
// a failing list ends the handler for this page; everything between them is
// cosmetic or optional and its failures are ignored one statement at a time.

#include "common/runtime/text.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

inline constexpr std::string_view kListMarkersToolTip = "Elenco segnalibri";

}  // namespace

void FrmBrowser::objWB_DocumentComplete(const std::string& URL) {
  StepTrail trail("Documentcompleted - ");
  Guarded(report_, trail, [&] {
    IgnoringErrors([&] { bookmarks_.ListMarkers.ToolTipText = std::string(kListMarkersToolTip); });

    if (!book::IsIndexPage(URL)) returningToIndex_ = false;

    trail.Step("Dopo Timer");
    ClearMarcatori();
    const bool indexPage = book::IsIndexPage(URL);
    if (indexPage) {
      bookmarks_.LoadIndexPage(fileSystem_, programFolder_);
    } else {
      std::string section;
      Marcatori(BookmarkLists::kLoad, {}, section, 0);
    }

    trail.Step("Click e caption");
    auto document = [this]() -> HtmlDocument& {
      HtmlDocument* d = objwb.Document();
      if (!d) RaiseVbError(vberr::kObjectNotSet);
      return *d;
    };
    bool newTitle = false;
    IgnoringErrors([&] { newTitle = document().title() != caption_; });
    if (newTitle) {
      IgnoringErrors([&] { SetCaption(document().title()); });
      IgnoringErrors([&] { document().FocusBodyElement(1); });
    }

    IgnoringErrors([&] {
      std::string pageName = objwb.LocationName();
      if (const int hash = InStr(pageName, "#"); hash > 0) pageName = Left(pageName, hash - 1);
      if (pageName != state.PageName) {
        state.PageName = pageName;
        state.IndexCounter = 0;
      }
    });
    IgnoringErrors([&] { SetCaption(document().title()); });

    trail.Step("Stilesheet");
    const std::string sheet = book::StyleSheetAddress(programFolder_, state.StyleNumber);
    IgnoringErrors([&] {
      if (document().styleSheetCount() >= 1) document().createStyleSheet(sheet, 1);
    });
    IgnoringErrors([&] { document().createStyleSheet(sheet, 0); });
    IgnoringErrors([&] { loop_.DoEvents(); });

    if (!URL.empty() && URL != "http:///") IgnoringErrors([&] { Playaudio(URL, false, false); });

    trail.Step("Marcatori");
    IgnoringErrors([&] {
      if (state.PendingRecall > 0) {
        MarcatoriRichiama(state.PendingRecall);
        state.PendingRecall = 0;
      }
    });

    trail.Step("Messaggi multilingua");
    if (indexPage) {
      for (const book::MessageSpec& message : book::kMessages) {
        // A missing element, or one without text, keeps the message the
        // reader has now.
        std::string text;
        IgnoringErrors([&] {
          if (const HtmlElement* element = document().All(message.element)) text = element->content();
        });
        if (!text.empty()) state.Messages.Set(message.id, text);
      }
    }
  });
}

}  // namespace orva
