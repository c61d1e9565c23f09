// The background music: each piece is described by its key, tempo, instruments and
// form (sections of chords, bar by bar); the melody, the accompaniment, the bass
// and the drums are written from that description by fixed rules and a seeded
// random source, so the same description always gives the same notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Piece.h"

namespace pav::soundgen {

// The Standard MIDI File (format 1) of a piece: a conductor track with the tempo,
// metre and key, then one track per instrument.
std::vector<std::uint8_t> ComposeMidi(const TSong& song);

// The pieces shipped with the game.
std::vector<TSong> AllSongs();

}  // namespace pav::soundgen
