// Writing a signal as a RIFF wave file: PCM, 16 bits, 44100 Hz, mono or stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Dsp.h"

namespace pav::soundgen {

// The bytes of the wave file. Samples are rounded to the nearest step and
// limited to -32767..32767.
std::vector<std::uint8_t> EncodeWave(const TSignal& s);

}  // namespace pav::soundgen
