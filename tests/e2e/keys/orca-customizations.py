# Loaded by Orca from its preferences folder when run_with_orca.sh starts it:
# every utterance is appended to the file named by ORCA_SPEECH, one a line,
# and no speech server is started (it would fail to open an audio device and
# then ignore SIGTERM, keeping the run alive).
import os

from orca import speech

_spoken = open(os.environ["ORCA_SPEECH"], "a", buffering=1, encoding="utf-8")
_speak_one = speech._speak


def _write_and_speak(text, acss, interrupt):
    _spoken.write(" ".join(text.split()) + "\n")
    _speak_one(text, acss, interrupt)


speech._speak = _write_and_speak
speech.init = lambda: None
