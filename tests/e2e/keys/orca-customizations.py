# Orca loads this from the preferences folder run_with_orca.sh gives it: each
# utterance goes to the file ORCA_SPEECH names, one a line, and no speech
# server starts (without a sound device it would ignore SIGTERM).
import os

from orca import speech

_spoken = open(os.environ["ORCA_SPEECH"], "a", buffering=1, encoding="utf-8")
_speak_one = speech._speak


def _write_and_speak(text, acss, interrupt):
    _spoken.write(" ".join(text.split()) + "\n")
    _speak_one(text, acss, interrupt)


speech._speak = _write_and_speak
speech.init = lambda: None
