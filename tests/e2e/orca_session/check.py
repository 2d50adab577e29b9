# check.py SPOKEN TRACE: what Orca said in the reader's session of
# session.sh, against what the player did by its trace. SPOKEN holds, one a
# line after the time in ms and a tab, Orca's utterances and session.sh's
# steps (marked "> ").
import json
import re
import sys
from collections import Counter

# After each step of the session (the next with this name), what Orca says
# before the next step, in this order; rows marked with a fault wait for its
# fix (docs/accessibility.md lists what the reader hears).
PAGE = r"Pagina2_1\.htm document web\."
SESSION = [
    ("focus", [r"\S.* frame\."], "window name"),
    ("press ctrl+3", [r"notification PAUSA 00:0\d premere ctrl\+3\."]),
    ("press alt+equal", [r"notification Lettura più veloce - Rate 1,1\."]),
    ("press ctrl+0", [r"notification Lettura disattivata\."]),
    ("press ctrl+8", [r"notification Pannello configurazione\.", r"Configurazione panel\.",
                      r"Riparti dal punto di uscita check box not checked\."]),
    ("press Tab", [r"Lettore spento check box checked\."]),
    ("press Tab", [r"Video a tutto schermo check box not checked\."]),
    ("press Tab", [r"Voce del programma check box not checked\."]),
    ("press Tab", [r"Versione 9\.", r"selected radio button"]),
    ("press Tab", [r"Avanzamento audio text\.", r"10 selected\."], "field values"),
    ("press Tab", [r"Volume text\.", r"100 selected\."], "field values"),
    ("press Tab", [r"Velocità di Lettura text\.", r"1,1 selected\."], "field values"),
    ("type x", [r"ORVA Player - Segnalazioni dialog Errore! Tipo non corrispondente Codice: 13\.",
                r"OK push button\."]),
    ("focus", [r"Pagina2_1\.htm frame\.", r"Velocità di Lettura text\."]),
    ("press Tab", [r"Chiudi push button\."]),
    ("press Return", [PAGE], "Chiudi by Enter, web pages"),
    ("press alt+3", [r"ORVA Player - Inserimento Marcatori - \(\w+\) dialog\.",
                     r"Inserisci il nome del segnalibro \(00:0\d sec\.\) text\."]),
    ("press alt+6", [r"Elenco Marcatori panel\.", r"List with 2 items\.", r"00:03 - Primo\."]),
    ("press Down", [r"00:0\d - Secondo\."]),
    ("press Escape", [PAGE], "web pages"),
    ("close", [r"alert ORVA Player\.", r"Vuoi davvero chiudere il libro di prova\?", r"Sì push button\."]),
]


def main(spoken_file, trace_file):
    lines = [line.rstrip("\n").split("\t", 1) for line in open(spoken_file, encoding="utf-8")]
    lines = [(int(t), text) for t, text in lines]
    said = [(t, text) for t, text in lines if not text.startswith("> ")]
    trace = [json.loads(line) for line in open(trace_file, encoding="utf-8")]
    faults = []

    def fail(what, fix=None):
        faults.append(what + (" [awaits the fix of: %s]" % fix if fix else ""))

    steps = []  # each step of session.sh with what Orca said up to the next
    for t, text in lines:
        if text.startswith("> "):
            steps.append((text[2:], []))
        elif steps:
            steps[-1][1].append(text)
    at = 0
    for step, patterns, *fix in SESSION:
        while at < len(steps) and steps[at][0] != step:
            at += 1
        if at == len(steps):
            fail("no step \"%s\" in the session" % step)
            break
        heard, i = steps[at][1], 0
        for pattern in patterns:
            while i < len(heard) and not re.fullmatch(pattern, heard[i]):
                i += 1
            if i == len(heard):
                fail("after \"%s\" Orca did not say /%s/ (it said: %s)" % (step, pattern, heard), *fix)
                break
        at += 1

    # Each display message once per key that put it up, within 500 ms of
    # the key pressed just before it.
    presses = [t for t, text in lines if text.startswith("> press ")]
    shown = {e["text"]: e["shown_us"] // 1000 for e in trace if e["ev"] == "key_message"}
    for message, keys in Counter(e["osd"] for e in trace if e["ev"] == "key" and e["osd"]).items():
        times = [t for t, text in said if text.rstrip(".") == ("notification " + message).rstrip(".")]
        if len(times) != keys:
            fail("the message \"%s\" was spoken %d times for %d keys" % (message, len(times), keys))
        for t in times:
            delay = t - max([p for p in presses if p <= t], default=0)
            print("%-40s painted %4d ms, spoken %4d ms after its key" % (message, shown.get(message, -1), delay))
            if delay > 500:
                fail("the message \"%s\" was spoken %d ms after its key" % (message, delay))

    # Each dialog's title and text once.
    for dialog in (e for e in trace if e["ev"] == "dialog"):
        title, text = dialog["title"], " ".join(dialog["text"].split())
        titles = [s for _, s in said if s.startswith(("alert %s." % title, title + " dialog"))]
        texts = [s for _, s in said if text in s]
        if len(titles) != 1 or len(texts) != 1:
            fail("the dialog \"%s\" / \"%s\": title spoken %d times, text %d times" %
                 (title, text, len(titles), len(texts)), "dialog text" if len(texts) > 1 else None)

    # The page's own text is never read over the book's audio.
    faults += ["Orca read the page's text: " + text for _, text in said if "Marco" in text]
    for fault in faults:
        print("FAIL: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
