# Orca loads this from the preferences folder run_with_orca.sh gives it: each
# utterance, key echo included, goes to the file ORCA_SPEECH names, one a
# line after the wall-clock time in milliseconds and a tab, and no speech
# server starts (without a sound device it would ignore SIGTERM).
import os
import time

from orca import speech

_spoken = open(os.environ["ORCA_SPEECH"], "a", buffering=1, encoding="utf-8")


def _writing(speak, text_of):
    def write_and_speak(*args, **kwargs):
        _spoken.write("%d\t%s\n" % (time.time() * 1000, " ".join(text_of(args[0]).split())))
        speak(*args, **kwargs)

    return write_and_speak


speech._speak = _writing(speech._speak, str)
speech.speakCharacter = _writing(speech.speakCharacter, str)
speech.speakKeyEvent = _writing(speech.speakKeyEvent,
                                lambda event: event.getKeyName() + " " + event.getLockingStateString())
speech.init = lambda: None
