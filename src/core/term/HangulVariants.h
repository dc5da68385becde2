#pragma once

namespace zel {

// Which of the shape variants of a Hangul component a syllable uses, from the
// Johab codes of its other components. The font generator lays the glyphs out
// by these, and the renderer picks them by the same rules.

// Initial consonant variant 0..7 for the given medial code.
int InitialVariant(int medial, bool hasFinal);
// Medial vowel variant 0..3 for the given initial code.
int MedialVariant(int initial, bool hasFinal);
// Final consonant variant 0..3 for the given medial code.
int FinalVariant(int medial);

} // namespace zel
