#include "Harmony.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace pav::soundgen {

namespace {

TChord ParseChord(const std::string& text, int tonicPc) {
  std::size_t i = 0;
  int shift = 0;
  if (i < text.size() && text[i] == 'b') {
    shift = -1;
    ++i;
  } else if (i < text.size() && text[i] == '#') {
    shift = 1;
    ++i;
  }
  static const std::pair<const char*, int> numerals[] = {{"VII", 11}, {"III", 4}, {"IV", 5}, {"VI", 9},
                                                         {"II", 2},   {"V", 7},   {"I", 0}};
  int degree = -1;
  bool major = true;
  std::size_t len = 0;
  for (const auto& [name, semis] : numerals) {
    const std::string upper = name;
    std::string lower = upper;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    if (text.compare(i, upper.size(), upper) == 0) {
      degree = semis;
      major = true;
      len = upper.size();
      break;
    }
    if (text.compare(i, lower.size(), lower) == 0) {
      degree = semis;
      major = false;
      len = lower.size();
      break;
    }
  }
  if (degree < 0) throw std::invalid_argument("bad chord: " + text);
  i += len;
  const std::string suffix = text.substr(i);
  TChord c;
  c.Root = Pc(tonicPc + degree + shift);
  c.Third = major ? 4 : 3;
  if (suffix == "7") {
    c.Seventh = 10;
  } else if (suffix == "maj7") {
    c.Seventh = 11;
  } else if (suffix == "add9") {
    c.Added = 2;
  } else if (suffix == "6") {
    c.Added = 9;
  } else if (suffix == "sus4") {
    c.Third = 5;
  } else if (suffix == "sus2") {
    c.Third = 2;
  } else if (!suffix.empty()) {
    throw std::invalid_argument("bad chord suffix: " + text);
  }
  c.Tones = {c.Root, Pc(c.Root + c.Third), Pc(c.Root + c.Fifth)};
  if (c.Seventh >= 0) c.Tones.push_back(Pc(c.Root + c.Seventh));
  if (c.Added >= 0) c.Tones.push_back(Pc(c.Root + c.Added));
  return c;
}

}  // namespace

std::vector<TBar> ParseBars(const std::string& bars, int tonicPc, int beats) {
  std::vector<TBar> out;
  const int slots = beats * 2;
  std::size_t start = 0;
  while (start <= bars.size()) {
    std::size_t end = bars.find('|', start);
    if (end == std::string::npos) end = bars.size();
    const std::string cell = bars.substr(start, end - start);
    std::vector<std::string> names;
    std::size_t p = 0;
    while (p < cell.size()) {
      while (p < cell.size() && cell[p] == ' ') ++p;
      std::size_t q = p;
      while (q < cell.size() && cell[q] != ' ') ++q;
      if (q > p) names.push_back(cell.substr(p, q - p));
      p = q;
    }
    if (names.empty() || names.size() > 3) throw std::invalid_argument("a bar needs one to three chords: " + bars);
    TBar bar;
    // Two chords share a bar of four beats equally and a bar of three beats two and one.
    std::vector<int> starts;
    if (names.size() == 1) starts = {0};
    if (names.size() == 2) starts = {0, 4};
    if (names.size() == 3) starts = beats == 3 ? std::vector<int>{0, 2, 4} : std::vector<int>{0, 4, 6};
    for (std::size_t k = 0; k < names.size(); ++k) {
      const int to = k + 1 < names.size() ? starts[k + 1] : slots;
      bar.Spans.push_back({ParseChord(names[k], tonicPc), starts[k], to});
    }
    out.push_back(bar);
    if (end == bars.size()) break;
    start = end + 1;
  }
  return out;
}

std::vector<int> ScaleOf(const TSong& song) {
  static const int major[] = {0, 2, 4, 5, 7, 9, 11};
  static const int minor[] = {0, 2, 3, 5, 7, 8, 10};
  std::vector<int> pcs;
  for (int i = 0; i < 7; ++i) pcs.push_back(Pc(song.Tonic + (song.Minor ? minor[i] : major[i])));
  return pcs;
}

std::vector<int> ScaleOver(const std::vector<int>& scale, const TChord& chord, bool minorKey) {
  std::vector<int> pcs = scale;
  for (int t : chord.Tones) {
    if (std::find(pcs.begin(), pcs.end(), t) != pcs.end()) continue;
    const int replaced = minorKey ? Pc(t - 1) : Pc(t + 1);
    const auto it = std::find(pcs.begin(), pcs.end(), replaced);
    if (it != pcs.end() && std::find(chord.Tones.begin(), chord.Tones.end(), replaced) == chord.Tones.end())
      pcs.erase(it);
    pcs.push_back(t);
  }
  return pcs;
}

bool In(const std::vector<int>& pcs, int note) { return std::find(pcs.begin(), pcs.end(), Pc(note)) != pcs.end(); }

int Step(int note, int steps, const std::vector<int>& pcs) {
  const int dir = steps > 0 ? 1 : -1;
  for (int k = 0; k < std::abs(steps); ++k) {
    do note += dir;
    while (!In(pcs, note));
  }
  return note;
}

int Nearest(int note, const std::vector<int>& pcs, int prefer) {
  if (In(pcs, note)) return note;
  const int first = prefer >= 0 ? 1 : -1;
  for (int d = 1; d < 12; ++d) {
    if (In(pcs, note + first * d)) return note + first * d;
    if (In(pcs, note - first * d)) return note - first * d;
  }
  return note;
}

int Toward(int note, const std::vector<int>& pcs, int dir) {
  while (!In(pcs, note)) note += dir;
  return note;
}

int NearestOfClass(int pc, int near, int low, int high) {
  int best = -1;
  for (int n = low; n <= high; ++n) {
    if (Pc(n) != pc) continue;
    if (best < 0 || std::abs(n - near) < std::abs(best - near)) best = n;
  }
  if (best >= 0) return best;
  best = near - Pc(near - pc);
  return best;
}

}  // namespace pav::soundgen
