#include "AudioCheck.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pav::soundgen::check {

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | static_cast<std::uint32_t>(b[at + 3]);
}

std::uint16_t Be16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

bool Tag(const std::vector<std::uint8_t>& b, std::size_t at, const char* tag) {
  return at + 4 <= b.size() && std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

int TWaveInfo::Peak() const {
  int p = 0;
  for (std::int16_t s : Samples) p = std::max(p, std::abs(static_cast<int>(s)));
  return p;
}

double TWaveInfo::MeanOffset() const {
  if (Samples.empty()) return 0.0;
  double sum = 0.0;
  for (std::int16_t s : Samples) sum += s;
  return sum / static_cast<double>(Samples.size()) / 32768.0;
}

TWaveInfo ReadWave(const std::vector<std::uint8_t>& b) {
  if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) throw EFileFormat("not a RIFF/WAVE file");
  if (Le32(b, 4) != b.size() - 8) throw EFileFormat("RIFF size does not match the file size");
  TWaveInfo w;
  bool haveFormat = false;
  bool haveData = false;
  int blockAlign = 0;
  std::size_t at = 12;
  while (at < b.size()) {
    if (at + 8 > b.size()) throw EFileFormat("truncated chunk header");
    const std::uint32_t size = Le32(b, at + 4);
    const std::size_t body = at + 8;
    if (size > b.size() - body) throw EFileFormat("chunk runs past the end of the file");
    if (Tag(b, at, "fmt ")) {
      if (size < 16) throw EFileFormat("format chunk too short");
      if (Le16(b, body) != 1) throw EFileFormat("not PCM");
      w.Channels = Le16(b, body + 2);
      w.SampleRate = static_cast<int>(Le32(b, body + 4));
      const std::uint32_t byteRate = Le32(b, body + 8);
      blockAlign = Le16(b, body + 12);
      w.BitsPerSample = Le16(b, body + 14);
      if (w.Channels < 1 || w.Channels > 2) throw EFileFormat("neither mono nor stereo");
      if (w.BitsPerSample != 16) throw EFileFormat("not 16 bits per sample");
      if (blockAlign != w.Channels * 2) throw EFileFormat("block align disagrees with the channels");
      if (byteRate != static_cast<std::uint32_t>(w.SampleRate) * static_cast<std::uint32_t>(blockAlign))
        throw EFileFormat("byte rate disagrees with the sample rate");
      haveFormat = true;
    } else if (Tag(b, at, "data")) {
      if (!haveFormat) throw EFileFormat("data before the format chunk");
      if (size % static_cast<std::uint32_t>(blockAlign) != 0) throw EFileFormat("data is not a whole number of frames");
      w.Frames = size / static_cast<std::uint32_t>(blockAlign);
      w.Samples.resize(size / 2);
      for (std::size_t i = 0; i < w.Samples.size(); ++i) w.Samples[i] = static_cast<std::int16_t>(Le16(b, body + 2 * i));
      haveData = true;
    }
    at = body + size + (size % 2);  // chunks are padded to an even length
  }
  if (at != b.size()) throw EFileFormat("the last chunk's pad byte is missing");
  if (!haveFormat || !haveData) throw EFileFormat("format or data chunk missing");
  w.Seconds = static_cast<double>(w.Frames) / w.SampleRate;
  return w;
}

double TMidiInfo::SecondsAt(std::uint32_t tick) const {
  double seconds = 0.0;
  std::uint32_t from = 0;
  std::uint32_t tempo = 500000;
  for (const auto& [at, us] : Tempos) {
    if (at >= tick) break;
    seconds += static_cast<double>(at - from) * tempo / 1e6 / Division;
    from = at;
    tempo = us;
  }
  seconds += static_cast<double>(tick - from) * tempo / 1e6 / Division;
  return seconds;
}

int TMidiInfo::TonicPitchClass() const {
  const int major = ((KeySharps * 7) % 12 + 12) % 12;
  return KeyMinor ? (major + 9) % 12 : major;
}

namespace {

class TTrackReader {
 public:
  TTrackReader(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to) : B(b), At(from), End(to) {}

  std::uint8_t Byte() {
    if (At >= End) throw EFileFormat("event runs past the end of its track chunk");
    return B[At++];
  }
  std::uint32_t VarLen() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t c = Byte();
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return v;
    }
    throw EFileFormat("variable-length number longer than four bytes");
  }
  std::uint8_t Data() {
    const std::uint8_t d = Byte();
    if (d & 0x80) throw EFileFormat("status byte where a data byte belongs");
    return d;
  }
  void Skip(std::uint32_t n) {
    if (n > End - At) throw EFileFormat("event runs past the end of its track chunk");
    At += n;
  }
  std::size_t Pos() const { return At; }
  bool Done() const { return At >= End; }

 private:
  const std::vector<std::uint8_t>& B;
  std::size_t At, End;
};

}  // namespace

TMidiInfo ReadMidi(const std::vector<std::uint8_t>& b) {
  if (b.size() < 14 || !Tag(b, 0, "MThd")) throw EFileFormat("no MThd header");
  const std::uint32_t headerSize = Be32(b, 4);
  if (headerSize < 6 || headerSize > b.size() - 8) throw EFileFormat("bad header length");
  TMidiInfo m;
  m.Format = Be16(b, 8);
  m.TrackCount = Be16(b, 10);
  const std::uint16_t division = Be16(b, 12);
  if (m.Format > 1) throw EFileFormat("format other than 0 or 1");
  if (division & 0x8000) throw EFileFormat("time-code timing is not used by the game's music");
  if (division == 0) throw EFileFormat("zero ticks per quarter note");
  if (m.Format == 0 && m.TrackCount != 1) throw EFileFormat("format 0 with more than one track");
  m.Division = division;
  std::size_t at = 8 + headerSize;
  int tracksRead = 0;
  while (at < b.size()) {
    if (at + 8 > b.size()) throw EFileFormat("truncated chunk header");
    const std::uint32_t size = Be32(b, at + 4);
    const std::size_t body = at + 8;
    if (size > b.size() - body) throw EFileFormat("chunk runs past the end of the file");
    if (!Tag(b, at, "MTrk")) {  // an unknown chunk is skipped
      at = body + size;
      continue;
    }
    const int track = tracksRead++;
    TTrackReader r(b, body, body + size);
    std::uint32_t tick = 0;
    std::uint8_t running = 0;
    bool ended = false;
    std::map<std::pair<int, int>, std::vector<TMidiNote>> sounding;  // (channel, key) -> notes on
    while (!r.Done()) {
      if (ended) throw EFileFormat("events after the end of the track");
      tick += r.VarLen();
      const std::uint8_t lead = r.Byte();
      if (lead == 0xFF) {
        const std::uint8_t type = r.Byte();
        const std::uint32_t len = r.VarLen();
        const std::size_t dataAt = r.Pos();
        r.Skip(len);
        running = 0;  // meta events cancel running status
        if (type == 0x2F) {
          if (len != 0) throw EFileFormat("end-of-track with data");
          ended = true;
          m.EndTick = std::max(m.EndTick, tick);
        } else if (type == 0x51) {
          if (len != 3) throw EFileFormat("tempo event of wrong length");
          m.Tempos.push_back({tick, static_cast<std::uint32_t>(b[dataAt] << 16 | b[dataAt + 1] << 8 | b[dataAt + 2])});
        } else if (type == 0x59) {
          if (len != 2) throw EFileFormat("key signature of wrong length");
          m.HasKey = true;
          m.KeySharps = static_cast<std::int8_t>(b[dataAt]);
          m.KeyMinor = b[dataAt + 1] == 1;
        }
        continue;
      }
      if (lead == 0xF0 || lead == 0xF7) {
        r.Skip(r.VarLen());
        running = 0;  // and so do system-exclusive events
        continue;
      }
      std::uint8_t status;
      std::uint8_t d1;
      if (lead < 0x80) {
        // Running status: the byte read is the first data byte of a message with
        // the previous status.
        if (running == 0) throw EFileFormat("data byte without a running status");
        status = running;
        d1 = lead;
      } else {
        if (lead >= 0xF0) throw EFileFormat("system common or real-time message inside a track");
        status = lead;
        running = lead;
        d1 = r.Data();
      }
      const int kind = status & 0xF0;
      const int channel = status & 0x0F;
      const bool twoBytes = kind != 0xC0 && kind != 0xD0;
      const std::uint8_t d2 = twoBytes ? r.Data() : 0;
      if (kind == 0xC0 && !m.FirstProgram.count(channel)) m.FirstProgram[channel] = tick;
      const bool on = kind == 0x90 && d2 > 0;
      const bool off = kind == 0x80 || (kind == 0x90 && d2 == 0);
      if (on) {
        if (!m.FirstNote.count(channel)) m.FirstNote[channel] = tick;
        sounding[{channel, d1}].push_back({track, channel, d1, d2, tick, 0});
      } else if (off) {
        auto& list = sounding[{channel, d1}];
        if (list.empty()) {
          ++m.UnmatchedOffs;
        } else {
          TMidiNote n = list.front();
          list.erase(list.begin());
          n.Off = tick;
          m.Notes.push_back(n);
        }
      }
    }
    if (!ended) throw EFileFormat("track without an end-of-track event");
    for (auto& [key, list] : sounding) m.HangingNotes += static_cast<int>(list.size());
    at = body + size;
  }
  if (tracksRead != m.TrackCount) throw EFileFormat("the header's track count disagrees with the tracks");
  std::stable_sort(m.Tempos.begin(), m.Tempos.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  return m;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pav::soundgen::check
