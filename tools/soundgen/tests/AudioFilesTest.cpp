// The readers of wave and MIDI files on files built byte by byte here, then the
// sound effects and music the build generated.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AudioCheck.h"

namespace fs = std::filesystem;
using namespace pav::soundgen::check;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& b, std::initializer_list<int> v) {
  for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
}
void Le32(Bytes& b, std::uint32_t v) { Append(b, {int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)}); }
void Le16(Bytes& b, std::uint32_t v) { Append(b, {int(v & 0xFF), int(v >> 8 & 0xFF)}); }
void Be32(Bytes& b, std::uint32_t v) { Append(b, {int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)}); }
void Text(Bytes& b, const char* t) {
  for (const char* p = t; *p; ++p) b.push_back(static_cast<std::uint8_t>(*p));
}

// A wave file holding `samples` (mono or stereo, 44100 Hz), with an optional
// extra chunk between the format and the data.
Bytes Wave(const std::vector<std::int16_t>& samples, int channels, const Bytes& extraChunk = {}) {
  Bytes body;
  Text(body, "WAVE");
  Text(body, "fmt ");
  Le32(body, 16);
  Le16(body, 1);
  Le16(body, static_cast<std::uint32_t>(channels));
  Le32(body, 44100);
  Le32(body, 44100u * 2u * static_cast<std::uint32_t>(channels));
  Le16(body, 2u * static_cast<std::uint32_t>(channels));
  Le16(body, 16);
  body.insert(body.end(), extraChunk.begin(), extraChunk.end());
  Text(body, "data");
  Le32(body, static_cast<std::uint32_t>(samples.size() * 2));
  for (std::int16_t s : samples) Le16(body, static_cast<std::uint16_t>(s));
  Bytes b;
  Text(b, "RIFF");
  Le32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

Bytes MidiHeader(int format, int tracks, int division) {
  Bytes b;
  Text(b, "MThd");
  Be32(b, 6);
  Append(b, {0, format, tracks >> 8, tracks & 0xFF, division >> 8, division & 0xFF});
  return b;
}

Bytes Track(const Bytes& events) {
  Bytes b;
  Text(b, "MTrk");
  Be32(b, static_cast<std::uint32_t>(events.size()));
  b.insert(b.end(), events.begin(), events.end());
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes EndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

}  // namespace

// ---------------------------------------------------------------------------
// The wave reader

TEST(WaveReader, ReadsFormatDurationAndSamples) {
  const std::vector<std::int16_t> s = {0, 1000, -2000, 30000, -5, 0};
  const TWaveInfo w = ReadWave(Wave(s, 2));
  EXPECT_EQ(w.Channels, 2);
  EXPECT_EQ(w.SampleRate, 44100);
  EXPECT_EQ(w.BitsPerSample, 16);
  EXPECT_EQ(w.Frames, 3u);
  EXPECT_NEAR(w.Seconds, 3.0 / 44100, 1e-12);
  EXPECT_EQ(w.Peak(), 30000);
  EXPECT_EQ(w.Samples, s);
}

TEST(WaveReader, SkipsUnknownChunksWithTheirPadByte) {
  Bytes list;
  Text(list, "LIST");
  Le32(list, 3);
  Append(list, {'a', 'b', 'c', 0});  // odd length: one pad byte follows
  const TWaveInfo w = ReadWave(Wave({7, -7}, 1, list));
  EXPECT_EQ(w.Frames, 2u);
  EXPECT_EQ(w.Samples[1], -7);
}

TEST(WaveReader, RefusesInconsistentHeaders) {
  Bytes b = Wave({1, 2, 3, 4}, 1);
  Bytes riffTooLong = b;
  riffTooLong[4] += 2;
  EXPECT_THROW(ReadWave(riffTooLong), EFileFormat);

  Bytes notPcm = b;
  notPcm[20] = 3;  // IEEE float
  EXPECT_THROW(ReadWave(notPcm), EFileFormat);

  Bytes badAlign = b;
  badAlign[32] = 4;  // block align of a stereo file in a mono one
  EXPECT_THROW(ReadWave(badAlign), EFileFormat);

  Bytes badRate = b;
  badRate[28] ^= 1;  // byte rate no longer rate x block align
  EXPECT_THROW(ReadWave(badRate), EFileFormat);

  Bytes stereo = Wave({1, 2, 3}, 2);  // three samples are not whole stereo frames
  EXPECT_THROW(ReadWave(stereo), EFileFormat);

  Bytes truncated = b;
  truncated.resize(truncated.size() - 2);
  EXPECT_THROW(ReadWave(truncated), EFileFormat);
}

// ---------------------------------------------------------------------------
// The MIDI reader

TEST(MidiReader, FollowsRunningStatusAndVelocityZeroReleases) {
  const Bytes events = {
      0x00, 0xC0, 0x05,              // program 5 on channel 1
      0x00, 0x90, 0x3C, 0x40,        // C4 on
      0x00, 0x40, 0x41,              // E4 on, running status
      0x60, 0x3C, 0x00,              // C4 off (velocity 0), running status
      0x00, 0x40, 0x00,              // E4 off
      0x00, 0x80, 0x43, 0x00,        // a release of G4 that never sounded
  };
  const TMidiInfo m = ReadMidi(Concat({MidiHeader(0, 1, 96), Track(Concat({events, EndOfTrack}))}));
  ASSERT_EQ(m.Notes.size(), 2u);
  EXPECT_EQ(m.Notes[0].Key, 0x3C);
  EXPECT_EQ(m.Notes[0].Off, 0x60u);
  EXPECT_EQ(m.Notes[1].Key, 0x40);
  EXPECT_EQ(m.Notes[1].Velocity, 0x41);
  EXPECT_EQ(m.UnmatchedOffs, 1);
  EXPECT_EQ(m.HangingNotes, 0);
  EXPECT_EQ(m.FirstProgram.at(0), 0u);
}

TEST(MidiReader, MetaEventsCancelRunningStatus) {
  const Bytes events = {0x00, 0x90, 0x3C, 0x40, 0x00, 0xFF, 0x01, 0x01, 'x', 0x10, 0x3C, 0x00};
  EXPECT_THROW(ReadMidi(Concat({MidiHeader(0, 1, 96), Track(Concat({events, EndOfTrack}))})), EFileFormat);
}

TEST(MidiReader, CountsNotesLeftSounding) {
  const Bytes events = {0x00, 0x90, 0x3C, 0x40};
  const TMidiInfo m = ReadMidi(Concat({MidiHeader(0, 1, 96), Track(Concat({events, EndOfTrack}))}));
  EXPECT_EQ(m.HangingNotes, 1);
}

TEST(MidiReader, TimesThroughTempoChanges) {
  // Two quarter notes at 120 per minute, then two at 60 per minute.
  const Bytes conductor = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000 us
                           0x81, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // at 192: 1000000 us
                           0x81, 0x40, 0xFF, 0x2F, 0x00};                    // end at 384
  const Bytes other = Concat({{0x00, 0xFF, 0x59, 0x02, 0xFF, 0x01}, EndOfTrack});  // one flat, minor: D minor
  const TMidiInfo m = ReadMidi(Concat({MidiHeader(1, 2, 96), Track(conductor), Track(other)}));
  EXPECT_EQ(m.EndTick, 384u);
  EXPECT_NEAR(m.SecondsAt(192), 1.0, 1e-9);
  EXPECT_NEAR(m.Seconds(), 3.0, 1e-9);
  EXPECT_TRUE(m.HasKey);
  EXPECT_EQ(m.KeySharps, -1);
  EXPECT_TRUE(m.KeyMinor);
  EXPECT_EQ(m.TonicPitchClass(), 2);  // D
}

TEST(MidiReader, SkipsUnknownChunks) {
  Bytes alien;
  Text(alien, "XFIH");
  Be32(alien, 2);
  Append(alien, {1, 2});
  const TMidiInfo m = ReadMidi(Concat({MidiHeader(0, 1, 96), alien, Track(EndOfTrack)}));
  EXPECT_EQ(m.TrackCount, 1);
}

TEST(MidiReader, RefusesBrokenStructure) {
  const Bytes header = MidiHeader(1, 1, 96);
  // No end-of-track.
  EXPECT_THROW(ReadMidi(Concat({header, Track({0x00, 0x90, 0x3C, 0x40})})), EFileFormat);
  // Events after the end-of-track.
  EXPECT_THROW(ReadMidi(Concat({header, Track(Concat({EndOfTrack, {0x00, 0x90, 0x3C, 0x40}}))})), EFileFormat);
  // A chunk length longer than the file.
  Bytes longChunk = Concat({header, Track(EndOfTrack)});
  longChunk[header.size() + 7] += 1;
  EXPECT_THROW(ReadMidi(longChunk), EFileFormat);
  // A chunk length that cuts an event in two.
  EXPECT_THROW(ReadMidi(Concat({header, Track({0x00, 0x90, 0x3C})})), EFileFormat);
  // Data without any status before it.
  EXPECT_THROW(ReadMidi(Concat({header, Track(Concat({{0x00, 0x3C, 0x40}, EndOfTrack}))})), EFileFormat);
  // A header that counts more tracks than there are.
  EXPECT_THROW(ReadMidi(Concat({MidiHeader(1, 2, 96), Track(EndOfTrack)})), EFileFormat);
  // A variable-length delta longer than four bytes.
  EXPECT_THROW(ReadMidi(Concat({header, Track({0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00})})), EFileFormat);
}

// ---------------------------------------------------------------------------
// The generated files

namespace {

const fs::path ShareDir = PAVILORE_SHARE_DIR;

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> out;
  std::stringstream ss(list);
  std::string item;
  while (std::getline(ss, item, '|'))
    if (!item.empty()) out.push_back(item);
  return out;
}

std::set<std::string> FilesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

struct TEffect {
  const char* Name;
  double MinSeconds, MaxSeconds;
};

const TEffect Effects[] = {
    {"Click", 0.030, 0.060},
    {"Tile Move", 0.120, 0.200},
    {"Puzzle Solved", 1.0, 1.5},
    {"Game Over", 1.0, 1.5},
};

}  // namespace

TEST(GeneratedSounds, FolderHoldsTheFourEffects) {
  std::set<std::string> expected;
  for (const std::string& n : Split(PAVILORE_SOUND_NAMES)) expected.insert(n + ".WAV");
  EXPECT_EQ(FilesIn(ShareDir / "Sounds"), expected);
  for (const TEffect& e : Effects) EXPECT_TRUE(expected.count(std::string(e.Name) + ".WAV")) << e.Name;
}

TEST(GeneratedSounds, WellFormedShortAndBelowFullScale) {
  const int limit = static_cast<int>(32767 * std::pow(10.0, -1.0 / 20.0));  // -1 dBFS
  for (const TEffect& e : Effects) {
    SCOPED_TRACE(e.Name);
    const TWaveInfo w = ReadWave(ReadFileBytes((ShareDir / "Sounds" / (std::string(e.Name) + ".WAV")).string()));
    EXPECT_TRUE(w.SampleRate == 44100 || w.SampleRate == 22050);
    EXPECT_GE(w.Seconds, e.MinSeconds);
    EXPECT_LE(w.Seconds, e.MaxSeconds);
    EXPECT_LT(w.Peak(), limit);
    EXPECT_GT(w.Peak(), 32767 / 30);  // clearly audible: above -30 dBFS
    EXPECT_LT(std::fabs(w.MeanOffset()), 0.002);
    // It starts and ends on silence: no click at either end.
    const std::size_t n = w.Samples.size();
    const std::size_t edge = static_cast<std::size_t>(w.Channels);
    for (std::size_t i = 0; i < edge; ++i) {
      EXPECT_LE(std::abs(w.Samples[i]), 64);
      EXPECT_LE(std::abs(w.Samples[n - 1 - i]), 64);
    }
    // And it fades in over the first millisecond rather than jumping.
    const std::size_t ms = static_cast<std::size_t>(w.SampleRate / 1000) * edge;
    int early = 0;
    for (std::size_t i = 0; i < ms / 4; ++i) early = std::max(early, std::abs(static_cast<int>(w.Samples[i])));
    EXPECT_LT(early, w.Peak() / 2);
  }
}

TEST(GeneratedMusic, FolderHoldsThePieces) {
  std::set<std::string> expected;
  for (const std::string& n : Split(PAVILORE_MUSIC_NAMES)) expected.insert(n + ".MID");
  EXPECT_GE(expected.size(), 4u);
  EXPECT_EQ(FilesIn(ShareDir / "Music"), expected);
}

TEST(GeneratedMusic, ParsesAndLastsOneToThreeMinutes) {
  for (const std::string& name : Split(PAVILORE_MUSIC_NAMES)) {
    SCOPED_TRACE(name);
    const TMidiInfo m = ReadMidi(ReadFileBytes((ShareDir / "Music" / (name + ".MID")).string()));
    EXPECT_TRUE(m.Format == 0 || m.Format == 1);
    ASSERT_FALSE(m.Notes.empty());
    EXPECT_GE(m.Seconds(), 60.0);
    EXPECT_LE(m.Seconds(), 180.0);
    EXPECT_EQ(m.HangingNotes, 0);
    EXPECT_EQ(m.UnmatchedOffs, 0);
    // Loops well: sound from the first second, and no silence at the end.
    std::uint32_t first = UINT32_MAX, last = 0;
    for (const TMidiNote& n : m.Notes) {
      first = std::min(first, n.On);
      last = std::max(last, n.Off);
    }
    EXPECT_LT(m.SecondsAt(first), 1.0);
    EXPECT_LT(m.Seconds() - m.SecondsAt(last), 1.0);
  }
}

TEST(GeneratedMusic, EveryInstrumentIsChosenBeforeItPlays) {
  for (const std::string& name : Split(PAVILORE_MUSIC_NAMES)) {
    SCOPED_TRACE(name);
    const TMidiInfo m = ReadMidi(ReadFileBytes((ShareDir / "Music" / (name + ".MID")).string()));
    for (const auto& [channel, tick] : m.FirstNote) {
      if (channel == 9) continue;  // percussion
      ASSERT_TRUE(m.FirstProgram.count(channel)) << "channel " << channel + 1;
      EXPECT_LE(m.FirstProgram.at(channel), tick) << "channel " << channel + 1;
    }
  }
}

TEST(GeneratedMusic, EndsOnTheTonicOfItsKey) {
  for (const std::string& name : Split(PAVILORE_MUSIC_NAMES)) {
    SCOPED_TRACE(name);
    const TMidiInfo m = ReadMidi(ReadFileBytes((ShareDir / "Music" / (name + ".MID")).string()));
    ASSERT_TRUE(m.HasKey);
    // The lowest pitched note still sounding in the last quarter note.
    const std::uint32_t lastBeat = m.EndTick - static_cast<std::uint32_t>(m.Division);
    int lowest = 128;
    for (const TMidiNote& n : m.Notes)
      if (n.Channel != 9 && n.Off > lastBeat) lowest = std::min(lowest, n.Key);
    ASSERT_LT(lowest, 128);
    EXPECT_EQ(lowest % 12, m.TonicPitchClass());
  }
}

TEST(GeneratedAudio, TheGeneratorWritesTheSameBytesEveryRun) {
  const fs::path again = fs::temp_directory_path() / ("pavilore-soundgen-" + std::to_string(::getpid()));
  fs::remove_all(again);
  const std::string cmd = std::string("\"") + PAVILORE_SOUNDGEN + "\" \"" + again.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const char* sub : {"Sounds", "Music"}) {
    ASSERT_EQ(FilesIn(again / sub), FilesIn(ShareDir / sub));
    for (const std::string& f : FilesIn(ShareDir / sub)) {
      SCOPED_TRACE(f);
      EXPECT_TRUE(ReadFileBytes((again / sub / f).string()) == ReadFileBytes((ShareDir / sub / f).string()));
    }
  }
  fs::remove_all(again);
}
