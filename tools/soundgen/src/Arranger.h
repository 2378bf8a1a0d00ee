#pragma once

#include "Audio.h"
#include "Script.h"

#include <string>
#include <utility>
#include <vector>

namespace soundgen {

// One note or hit an instrument plays, in pattern slots (swung eighths).
struct NoteEvent {
    long slot = 0;          // start, within the form
    long endSlot = 0;       // where the next slot that is not a hold begins; may run past the form's end
    std::vector<int> notes; // note numbers; empty for hits
    double gainDb = 0.0;    // accent or ghost
};

// Places a piece's patterns on its form: which chord sounds when, which notes
// each instrument plays and at what times. The form repeats, so everything is
// read cyclically and nothing depends on where the loop is cut.
class Arrangement {
public:
    explicit Arrangement(const Piece& music);

    long totalSlots() const { return totalSlots_; }
    double loopSeconds() const;
    std::size_t loopFrames() const;
    // Start time of a slot; slots past the form's end continue into the next pass.
    double slotTime(long slot) const;

    const Chord& chordAt(long slot) const;
    // First slot after `slot` where a new chord (or bar) begins, unwrapped.
    long nextChange(long slot) const;

    std::vector<NoteEvent> events(const Instrument& inst) const;

private:
    long chordId(long slot) const;
    const std::string& token(const Instrument& inst, long slot) const;
    int bassNote(const Instrument& inst, long slot, char degree, int previous) const;

    const Piece& music_;
    long slotsPerBar_;
    long totalSlots_;
};

// Renders the piece as a stereo loop of exactly one pass of the form: notes that
// ring past the end are wrapped round to the start and the reverb is run until it
// is periodic, so the last sample flows into the first. If stems is given, each
// instrument's dry contribution is appended to it.
Audio renderMusic(const Piece& music, std::vector<std::pair<std::string, Audio>>* stems = nullptr);

} // namespace soundgen
