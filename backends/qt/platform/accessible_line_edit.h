#pragma once
// How every one-line text field of the program presents itself to assistive
// technology: as Qt's own editable text, except that its formatting is one
// run over the whole text, with no attributes.
//
// Qt's own interface answers every position with an empty run (its start
// equal to its end), and a screen reader that splits the text by its runs
// then reads a field without its last character: "10" for "100". A field's
// text has no formatting of its own, so one run is the truth.

namespace orva {

// Installs the field's interface for the whole process; once is enough, a
// second call does nothing. Call it before the first field is asked for
// its interface: one made earlier is kept.
void InstallLineEditAccessibility();

}  // namespace orva
