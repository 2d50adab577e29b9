#pragma once
// What the mpv integration tests and benchmarks share: the generated media,
// waiting on Qt's events, and measuring the sound the engine writes. They
// run on orva::testing::OffscreenApplication() and the programs' QtEventLoop.

#include <functional>
#include <string>

namespace orva::mpvbackend::testing {

// The path of a generated media file (scripts/make-test-media.sh makes them
// into the build tree the first time). Throws when they cannot be made.
std::string TestMedia(const std::string& name);

// Runs Qt's events until `done` or the time-out; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

// A WAV file's main frequency and length in seconds by sox; -1 if unread.
struct SoundStats {
  double roughFrequency = -1;
  double lengthSeconds = -1;
};
SoundStats MeasureSound(const std::string& wavPath);

// Seconds of sound the engine writes, as fast as it can, when it is given
// `file` and then the start position `start`, until the end of the file:
// shorter than from 0 by exactly `start` when the seek lands. -1 when the
// file never ends.
double SecondsPlayedFrom(const std::string& file, double start);

}  // namespace orva::mpvbackend::testing
