#pragma once
// The debug frame "fraDebug": a small developer tool of the main window,
// hidden in reading and shown and hidden by Shift+Ctrl+Alt. It shows the
// file the player holds, opens any address in the browser, and writes a
// test export of the settings. This is the frame's model: its captions, its
// fields, the fixed note and where the frame sits; the main window owns one
// (FrmBrowser::fraDebug) and has the handlers, which need its player and
// browser:
//   cmdFileAudio   FrmBrowser::cmdFileAudio_Click    file name into TextAudio
//   cmdGO          FrmBrowser::cmdGO_Click           opens TextURL's address
//   cmdDebug(1)    FrmBrowser::cmdDebug_Click(1)     plays, file name into TxtDebFilename
//   cmdDebug(0)    FrmBrowser::cmdDebug_Click(0)     file name into TxtDebFilename
//   Command1       FrmBrowser::Command1_Click        the test export
//   the frame      FrmBrowser::fraDebug_DragOver / fraDebug_DragDrop
// A view shows Visible, the captions, the three text fields (following
// their Change) and Text1, and puts the frame at Left and Top (twips),
// following Moved.

#include <functional>
#include <string_view>

#include "common/controls/controls.h"
#include "player/panels/frmconfigurazione.h"

namespace orva {

class FraDebug {
 public:
  static constexpr std::string_view kName = "fraDebug";
  static constexpr std::string_view kCaption = "Debug";
  static constexpr std::string_view kFileAudioCaption = "Audio ?";  // cmdFileAudio
  static constexpr std::string_view kUrlCaption = "Url";            // Label2, names TextURL
  static constexpr std::string_view kGoCaption = "GO";              // cmdGO
  static constexpr std::string_view kPlayCaption = "play";          // cmdDebug(1)
  static constexpr std::string_view kRefreshCaption = "refresh";    // cmdDebug(0)
  static constexpr std::string_view kCommand1Caption = "Command1";  // Command1
  // Text1, a multi-line field: eleven lines, "\n" between them. It is a
  // note only; the keys in force are those of the key map.
  static constexpr std::string_view kNote =
      "    '**************************************\n"
      "    ' SHIFT + CTRL PREMUTI\n"
      "    ' VOLUME +              (-)\n"
      "    ' VOLUME -              (+)\n"
      "    ' CAMBIO STILE GRAFICO  (9)\n"
      "    '**************************************\n"
      "    ' CTRL PREMUTI\n"
      "    ' CAMBIO VELOCITA'          (9)\n"
      "    ' PANNELLO OPZIONI          (8)\n"
      "    ' CAMBIO PLAYER             (7)\n"
      "    ' ATTIVA/DISATTIVA LETTURA  (0)";
  // Where the frame was drawn, in twips from the window's top left corner.
  static constexpr double kDesignLeft = 240;
  static constexpr double kDesignTop = 240;

  FraDebug() = default;
  FraDebug(const FraDebug&) = delete;
  FraDebug& operator=(const FraDebug&) = delete;

  // Hidden when the window starts.
  FrameVisible Visible{kName, kCaption};
  TextBox TextAudio;
  // The address to open; every navigation of the browser also puts its
  // address here.
  TextBox TextURL;
  // The file the player holds, after a refresh, a play, or any file change
  // of the player.
  TextBox TxtDebFilename;

  double Left() const { return left_; }
  double Top() const { return top_; }
  // Moves the frame (twips) and tells the view.
  void Move(double left, double top) {
    left_ = left;
    top_ = top;
    if (Moved) Moved();
  }
  std::function<void()> Moved;

 private:
  double left_ = kDesignLeft;
  double top_ = kDesignTop;
};

}  // namespace orva
