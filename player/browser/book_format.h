#pragma once
// The book format: every name the player looks for in a book, the message
// texts a book may replace, the command links, and how page values are read.
// The player never parses HTML; it finds these names in the loaded document
// and in the addresses of the links the reader follows, so this file is the
// whole contract between a book maker and the player.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orva::book {

// --- Folder layout, relative to the program folder (written as the player
// writes them; the file system compares them without regard to case).
inline constexpr std::string_view kIndexPage = "Index.htm";
inline constexpr std::string_view kIncludeFolder = "INCLUDE";
inline constexpr std::string_view kAudioFolder = "Libro";
inline constexpr std::string_view kSplashPicture = "\\include\\avvio.jpg";
inline constexpr std::string_view kHelpPage = "\\include\\help.htm";

// The program folder followed by "\Index.htm", with every "\\" made "\" (a
// folder at a drive root already ends in "\").
std::string IndexPathOf(std::string_view programFolder);

// "file:///" + the program folder with "\" made "/" + "/INCLUDE/Style" + n +
// ".CSS": the book style sheet added to every page.
std::string StyleSheetAddress(std::string_view programFolder, int styleNumber);

// --- Page elements, found by name or id in the loaded document.
inline constexpr std::string_view kAudioElement = "ZUVPLAYER_AUDIO";
inline constexpr std::string_view kPrevHtmlElement = "ZUVPLAYER_AUDIO_PREVHTML";
inline constexpr std::string_view kPositionElement = "ZUVPLAYER_AUDIO_POS";
inline constexpr std::string_view kVideoNameField = "VideoNomeFile";

// Audio number n: ZUVPLAYER_AUDIO for 0, ZUVPLAYER_AUDIO_n after it.
std::string AudioElement(std::int32_t n);
// ZUVPLAYER_AUDIO_NEXTHTML_n: the page to open when audio n is wanted and
// missing; number 1 is also the next-page key's target.
std::string NextHtmlElement(std::int32_t n);
// Start position of audio n: ZUVPLAYER_AUDIO_POS for 0, ZUVPLAYER_AUDIO_POS_n.
std::string PositionElement(std::int32_t n);
// OrvaIndex_n: the n-th anchor of the page's position index (n from 1).
std::string IndexAnchorElement(std::int32_t n);

// --- Messages a book may replace from its index page.
enum class Message {
  kDelMark,
  kMarkNone,
  kErrore,
  kExportOk,
  kExportKo,
  kMarkExist,
  kRipristinoOk,
  kSostFile,
  kUscita
};
inline constexpr std::size_t kMessageCount = 9;

struct MessageSpec {
  Message id;
  std::string_view element;
  std::string_view defaultText;
};

inline constexpr std::array<MessageSpec, kMessageCount> kMessages = {{
    {Message::kDelMark, "ZUVPLAYER_MSG_DELMARK", "Sei sicuro di voler cancellare tutti i marcatori?"},
    {Message::kMarkNone, "ZUVPLAYER_MSG_MARKNONE", "Non ci sono marcatori presenti."},
    {Message::kErrore, "ZUVPLAYER_MSG_ERRORE", "ERRORE: @POS@. Codice: @NUMBER@ - @DESCRIPTION@"},
    {Message::kExportOk, "ZUVPLAYER_MSG_EXPORTOK", "Export effettuato correttamente nel file @FILE@"},
    {Message::kExportKo, "ZUVPLAYER_MSG_EXPORTKO", "Export del file @FILE@ fallito!"},
    {Message::kMarkExist, "ZUVPLAYER_MSG_MARKEXIST", "Il nome del marcatore è già stato inserito!"},
    {Message::kRipristinoOk, "ZUVPLAYER_MSG_RIPRISTINOOK", "Ripristino effettuato @FILE@"},
    {Message::kSostFile, "ZUVPLAYER_MSG_SOSTFILE", "Si vuole sostituire il file @FILE@?"},
    {Message::kUscita, "ZUVPLAYER_MSG_USCITA", "Sei sicuro di voler uscire?"},
}};

// Placeholders the showing code replaces in a message.
inline constexpr std::string_view kFileMarker = "@FILE@";
inline constexpr std::string_view kPosMarker = "@POS@";
inline constexpr std::string_view kNumberMarker = "@NUMBER@";
inline constexpr std::string_view kDescriptionMarker = "@DESCRIPTION@";

// The nine texts a window holds, starting from their defaults.
class MessageTexts {
 public:
  MessageTexts();
  const std::string& operator[](Message id) const { return texts_[static_cast<std::size_t>(id)]; }
  void Set(Message id, std::string text) { texts_[static_cast<std::size_t>(id)] = std::move(text); }
  void ResetToDefaults();

 private:
  std::array<std::string, kMessageCount> texts_;
};

// --- Command links: addresses the player cancels and acts on. The order is
// the order of the tests; the first that matches decides.
enum class CommandLink {
  kNone,           // an ordinary link
  kReload,         // "LOCATION.RELOAD", any case
  kStop,           // "#ZUVP_STOP#"
  kPause,          // "#ZUVP_PAUSE#"
  kPlay,           // "#ZUVP_PLAY#"
  kKeyCommand,     // "#ZUVP_KEYCMD#" + modifiers + key code
  kPersonalVideo,  // "#VIDEO_PERS#" or "@VIDEO_PERS@"
  kVideo,          // ".WMV", ".M1V", ".AVI" any case, or "#PLAYVIDEODIZIONARIO"
};

inline constexpr std::string_view kReloadMarker = "LOCATION.RELOAD";  // compared in capitals
inline constexpr std::string_view kStopMarker = "#ZUVP_STOP#";
inline constexpr std::string_view kPauseMarker = "#ZUVP_PAUSE#";
inline constexpr std::string_view kPlayMarker = "#ZUVP_PLAY#";
inline constexpr std::string_view kKeyCommandMarker = "#ZUVP_KEYCMD#";
inline constexpr std::string_view kKeyAltMarker = "#KEYALT#";
inline constexpr std::string_view kKeyShiftMarker = "#KEYSHIFT#";
inline constexpr std::string_view kKeyCtrlMarker = "#KEYCTRL#";
inline constexpr std::string_view kPersonalVideoHash = "#VIDEO_PERS#";
inline constexpr std::string_view kPersonalVideoAt = "@VIDEO_PERS@";
inline constexpr std::string_view kNoFullMarker = "@NOFULL@";
inline constexpr std::string_view kDictionaryVideoMarker = "#PLAYVIDEODIZIONARIO";
inline constexpr std::array<std::string_view, 3> kVideoLinkExtensions = {".WMV", ".M1V", ".AVI"};  // capitals

CommandLink ClassifyCommandLink(std::string_view url);
const char* ToString(CommandLink link);

// A keyboard command carried by a link: the key code and the modifier mask
// (1 Shift, 2 Ctrl, 4 Alt).
struct KeyCommand {
  std::int16_t keyCode = 0;
  std::int16_t shift = 0;
};
// The text after the first "#ZUVP_KEYCMD#" with every modifier marker and
// key-command marker removed, as a 16-bit number; a text that is not a number
// raises VbError 13.
KeyCommand ParseKeyCommand(std::string_view url);

// Whether a video link asks for a window instead of full screen.
bool WantsWindowedVideo(std::string_view url);
// The file part of a personal video link before address clean-up: "@NOFULL@"
// removed, then the marker with its delimiters, then every remaining
// delimiter character ("@" when the link uses "@VIDEO_PERS@", else "#").
std::string PersonalVideoName(std::string_view url);
// Every ".htm" and ".HTM" removed: what remains of a video link's address
// once the browser has resolved it against the page.
std::string RemoveHtmExtensions(std::string_view name);
// Every "@NOFULL@" removed.
std::string RemoveNoFull(std::string_view name);

// --- Audio file references.
inline constexpr std::array<std::string_view, 6> kAudioExtensions = {".wma", ".wmv", ".mp3",
                                                                     ".wav", ".m1v", ".avi"};
// ".wmv", ".m1v" and ".avi": an audio reference completed with one of these
// is played as a video.
bool IsVideoExtension(std::string_view extension);
// True when the file name, after the last "/" or "\" of either kind, holds a
// ".".
bool HasExtension(std::string_view name);

// Where a page's audio reference is found: the path last tried (the file
// itself when `exists` says so) and the reference as completed.
struct ResolvedAudio {
  std::string path;
  std::string reference;  // joined to the page's folder, extension added
  bool video = false;     // completed with a video extension
};
// The player's search for the file of an audio reference, in order:
//  - only when `pageUrl` is given (the page has just loaded) a bare name,
//    without "/" or "\", is joined to the page's folder; the audios reached
//    from another audio of the page come with an empty `pageUrl`;
//  - a name without extension gets the first of kAudioExtensions for which
//    the name so completed exists (a bare name of a later audio is so
//    completed in the current folder only);
//  - the file is then looked for as the name stands (a relative name in the
//    current folder), behind the page's folder, behind the program folder
//    and behind its "Libro" folder, and the first that exists is taken.
// `exists` answers for a path in the core's form; `step` hears the names of
// the searches, for the error report.
ResolvedAudio ResolveAudioReference(std::string reference, std::string_view pageUrl,
                                    std::string_view programFolder,
                                    const std::function<bool(const std::string&)>& exists,
                                    const std::function<void(const std::string&)>& step = {});

// --- Index pages: "INDEX.HTM" within the last 20 characters, in capitals.
bool IsIndexPage(std::string_view address);

// --- Positions. The text after the first "ZUVPLAYER_AUDIO_POS" and the one
// character after it (the "="), to the end of the address. An address
// without the marker gives its text from the twentieth character on.
std::string PositionTextFromAddress(std::string_view address);
// Seconds from a position text in the user's locale; VbError 13 when it is
// not a number.
double ParsePosition(std::string_view text);

}  // namespace orva::book
