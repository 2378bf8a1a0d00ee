#include "Arranger.h"

#include "Dsp.h"
#include "Voice.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

namespace {

long wrapSlot(long slot, long total) { return ((slot % total) + total) % total; }

// Stable across builds, unlike std::hash, so a renamed build cannot change the music.
std::uint64_t nameHash(const std::string& name) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
    return h;
}

int firstPresent(const Chord& chord, std::initializer_list<int> wanted, int fallback) {
    for (int interval : wanted)
        if (std::find(chord.intervals.begin(), chord.intervals.end(), interval) != chord.intervals.end())
            return interval;
    return fallback;
}

double accentDb(const std::string& token) {
    if (token == "X") return 3.0;
    if (token == "o") return -8.0;
    return 0.0;
}

// Runs a stateful stereo process over the loop until its state repeats from pass to
// pass, keeping the last pass: the result is what the loop sounds like when repeated.
template <class Process>
Audio runPeriodic(const Audio& in, int passes, Process&& process) {
    Audio out(2, in.frames());
    const std::size_t n = in.frames();
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            double l = 0.0, r = 0.0;
            process(in.samples[2 * i], in.samples[2 * i + 1], l, r);
            if (pass == passes - 1) {
                out.samples[2 * i] = static_cast<float>(l);
                out.samples[2 * i + 1] = static_cast<float>(r);
            }
        }
    }
    return out;
}

Audio renderInstrument(const Piece& music, const Arrangement& arrangement, const Instrument& inst) {
    const double loop = arrangement.loopSeconds();
    Rng rng(music.seed * 1000003ull + nameHash(inst.name));
    std::vector<Voice> placed;
    double end = loop;

    const std::vector<NoteEvent> events = arrangement.events(inst);
    for (std::size_t e = 0; e < events.size(); ++e) {
        const NoteEvent& ev = events[e];
        double start = arrangement.slotTime(ev.slot) + rng.range(-inst.humanizeMs, inst.humanizeMs) / 1000.0;
        if (start < 0.0) start += loop; // an early first note belongs to the end of the previous pass
        const double length = arrangement.slotTime(ev.endSlot) - arrangement.slotTime(ev.slot);
        const double gainDb = inst.level + ev.gainDb + rng.range(-inst.humanizeDb, inst.humanizeDb) / 2.0;

        std::vector<int> notes = ev.notes;
        if (notes.empty()) notes.push_back(-1);
        const double spreadDb = -10.0 * std::log10(static_cast<double>(notes.size())); // chords as loud as single notes
        for (std::size_t n = 0; n < notes.size(); ++n) {
            for (std::size_t t = 0; t < inst.voices.size(); ++t) {
                const Voice& tmpl = inst.voices[t];
                Voice v = tmpl;
                v.at = start + tmpl.at;
                if (!tmpl.hasLen) v.len = length + tmpl.release;
                const double base = notes[n] >= 0 ? noteToFreq(notes[n]) : 440.0;
                if (tmpl.ratio > 0.0) v.freq = base * tmpl.ratio;
                else if (!tmpl.hasFreq) v.freq = base;
                v.level = tmpl.level + gainDb + spreadDb;
                v.pan = tmpl.pan + inst.pan;
                v.seed = tmpl.seed + (e * 131 + n) * 7919 + t;
                end = std::max(end, v.at + v.len);
                placed.push_back(v);
            }
        }
    }

    Audio ringing(2, static_cast<std::size_t>(std::ceil(end * kSampleRate)) + 2);
    for (const Voice& v : placed) renderVoice(v, ringing);

    // Fold everything that rings past the end back onto the start.
    const std::size_t frames = arrangement.loopFrames();
    Audio folded(2, frames);
    for (std::size_t i = 0; i < ringing.frames(); ++i) {
        const std::size_t j = i % frames;
        folded.samples[2 * j] += ringing.samples[2 * i];
        folded.samples[2 * j + 1] += ringing.samples[2 * i + 1];
    }
    return folded;
}

} // namespace

Arrangement::Arrangement(const Piece& music)
    : music_(music), slotsPerBar_(music.slotsPerBar()),
      totalSlots_(static_cast<long>(music.bars.size()) * music.slotsPerBar()) {}

double Arrangement::loopSeconds() const { return slotTime(totalSlots_); }

std::size_t Arrangement::loopFrames() const {
    return static_cast<std::size_t>(std::lround(loopSeconds() * kSampleRate));
}

double Arrangement::slotTime(long slot) const {
    const double beat = 60.0 / music_.tempo;
    const long beats = slot / 2;
    double t = static_cast<double>(beats) * beat;
    if (slot % 2 != 0) t += music_.swing * beat;
    return t;
}

long Arrangement::chordId(long slot) const {
    const long s = wrapSlot(slot, totalSlots_);
    const long bar = s / slotsPerBar_;
    const long count = static_cast<long>(music_.bars[static_cast<std::size_t>(bar)].size());
    return bar * slotsPerBar_ + (s % slotsPerBar_) * count / slotsPerBar_;
}

const Chord& Arrangement::chordAt(long slot) const {
    const long id = chordId(slot);
    return music_.bars[static_cast<std::size_t>(id / slotsPerBar_)][static_cast<std::size_t>(id % slotsPerBar_)];
}

long Arrangement::nextChange(long slot) const {
    for (long k = slot + 1; k <= slot + totalSlots_; ++k)
        if (chordId(k) != chordId(k - 1)) return k;
    return slot + totalSlots_;
}

const std::string& Arrangement::token(const Instrument& inst, long slot) const {
    const long s = wrapSlot(slot, totalSlots_);
    const auto& bar = inst.pattern[static_cast<std::size_t>(s / slotsPerBar_) % inst.pattern.size()];
    return bar[static_cast<std::size_t>(s % slotsPerBar_)];
}

int Arrangement::bassNote(const Instrument& inst, long slot, char degree, int previous) const {
    if (degree == 'a') {
        // A chromatic step into the next chord's root, from whichever side we are on.
        const int target = placeInOctave(chordAt(nextChange(slot)).root, inst.low);
        return previous > target ? target + 1 : target - 1;
    }
    const Chord& chord = chordAt(slot);
    const int root = placeInOctave(chord.root, inst.low);
    // On the beat where a chord arrives, the bass states its root whatever the pattern says.
    if (chordId(slot) != chordId(slot - 1)) return degree == '8' ? root + 12 : root;
    switch (degree) {
    case '3':
        return root + firstPresent(chord, {4, 3, 5}, 4);
    case '5':
        return root + firstPresent(chord, {7, 6}, 7);
    case '7':
        return root + firstPresent(chord, {10, 11, 9}, 10);
    case '8':
        return root + 12;
    default:
        return root;
    }
}

std::vector<NoteEvent> Arrangement::events(const Instrument& inst) const {
    std::vector<NoteEvent> out;
    int previousBass = -1;
    for (long s = 0; s < totalSlots_; ++s) {
        const std::string& tok = token(inst, s);
        if (tok == "-" || tok == ".") continue;
        NoteEvent ev;
        ev.slot = s;
        ev.endSlot = s + 1;
        while (ev.endSlot < s + totalSlots_ && token(inst, ev.endSlot) == "-") ++ev.endSlot;
        ev.gainDb = accentDb(tok);
        switch (inst.plays) {
        case Plays::Chords:
            // ">" anticipates: it plays the chord that arrives a beat later.
            ev.notes = voiceChord(chordAt(tok == ">" ? s + 2 : s), inst.low);
            break;
        case Plays::Bass:
            previousBass = bassNote(inst, s, tok[0], previousBass);
            ev.notes = {previousBass};
            break;
        case Plays::Notes:
            ev.notes = {*parseNoteName(tok)};
            break;
        case Plays::Hits:
            break;
        }
        out.push_back(std::move(ev));
    }
    return out;
}

Audio renderMusic(const Piece& music, std::vector<std::pair<std::string, Audio>>* stems) {
    const Arrangement arrangement(music);
    const std::size_t frames = arrangement.loopFrames();
    Audio dry(2, frames);
    Audio send(2, frames);
    for (const Instrument& inst : music.instruments) {
        Audio part = renderInstrument(music, arrangement, inst);
        for (std::size_t i = 0; i < part.samples.size(); ++i) {
            dry.samples[i] += part.samples[i];
            send.samples[i] += static_cast<float>(inst.send * part.samples[i]);
        }
        if (stems) stems->emplace_back(inst.name, std::move(part));
    }

    // Enough passes for the reverb tail to fade by far more than 16 bits can show.
    const int passes = 2 + static_cast<int>(std::ceil(2.0 * music.reverbTime / arrangement.loopSeconds()));
    Reverb reverb(music.reverbTime, music.reverbDamping);
    const double wet = dbToGain(music.wetDb);
    Audio mix = runPeriodic(send, passes, [&](double l, double r, double& outL, double& outR) {
        reverb.process(l, r, outL, outR);
        outL *= wet;
        outR *= wet;
    });
    for (std::size_t i = 0; i < mix.samples.size(); ++i) mix.samples[i] += dry.samples[i];

    DcBlocker dcL, dcR;
    Audio out = runPeriodic(mix, 3, [&](double l, double r, double& outL, double& outR) {
        outL = dcL.process(l);
        outR = dcR.process(r);
    });
    if (music.limitDb > 0.0) limitLoop(out, peakOf(out) * dbToGain(-music.limitDb), 0.003, 0.12);
    normalise(out, music.peakDb);
    return out;
}

} // namespace soundgen
