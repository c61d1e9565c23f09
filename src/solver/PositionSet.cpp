#include "solver/PositionSet.h"

#include <cstring>

namespace pav {

TPositionCodec::TPositionCodec(const TBoard& board, const TPattern& first) {
  bool may[GridW][GridH] = {};
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y)
      if (board.Cells[x][y] == 0 || first.Tiles[x][y] != 0) may[x][y] = true;
  // A row carried through a jump comes out beside the partner mouth, floor or not.
  for (const TJump& j : board.Jumps) {
    if (j.X1 == 0) break;
    const int ends[2][3] = {{j.X1, j.Y1, j.Side1}, {j.X2, j.Y2, j.Side2}};
    for (const auto& e : ends) {
      const int x = e[0] + StepX(e[2]), y = e[1] + StepY(e[2]);
      if (x >= 1 && x <= MaxCols && y >= 1 && y <= MaxRows) may[x][y] = true;
    }
  }
  CopyPattern(first, Template);
  for (int x = 1; x <= MaxCols; ++x)
    for (int y = 1; y <= MaxRows; ++y) {
      if (!may[x][y]) continue;
      Cells.push_back(static_cast<std::uint16_t>(x * GridH + y));
      if (first.Tiles[x][y] != 0) ++Tiles;
      Template.Tiles[x][y] = 0;
    }
  for (int i = 0; i < MaxLinks; ++i) {
    const TLink& l = first.Links[i];
    if (l.X1 | l.Y1 | l.X2 | l.Y2) LinkEntries = i + 1;
  }
  Size = (Cells.size() + 7) / 8 + static_cast<std::size_t>(Tiles) + 4 * static_cast<std::size_t>(LinkEntries);
}

void TPositionCodec::Pack(const TPattern& p, std::uint8_t* key) const {
  const std::size_t bitmapBytes = (Cells.size() + 7) / 8;
  std::memset(key, 0, bitmapBytes);
  const auto* tiles = &p.Tiles[0][0];
  std::uint8_t* faces = key + bitmapBytes;
  for (std::size_t i = 0; i < Cells.size(); ++i) {
    const std::uint8_t t = tiles[Cells[i]];
    if (t == 0) continue;
    key[i >> 3] = static_cast<std::uint8_t>(key[i >> 3] | (1u << (i & 7)));
    *faces++ = t;
  }
  std::memcpy(key + bitmapBytes + Tiles, p.Links, 4 * static_cast<std::size_t>(LinkEntries));
}

void TPositionCodec::Unpack(const std::uint8_t* key, TPattern& p) const {
  CopyPattern(Template, p);
  const std::size_t bitmapBytes = (Cells.size() + 7) / 8;
  auto* tiles = &p.Tiles[0][0];
  const std::uint8_t* faces = key + bitmapBytes;
  for (std::size_t i = 0; i < Cells.size(); ++i)
    if (key[i >> 3] & (1u << (i & 7))) tiles[Cells[i]] = *faces++;
  std::memcpy(p.Links, key + bitmapBytes + Tiles, 4 * static_cast<std::size_t>(LinkEntries));
}

TPositionSet::TPositionSet(std::size_t keySize) : KeySize(keySize) {
  Slots.assign(1024, 0);
  Mask = Slots.size() - 1;
}

std::uint64_t TPositionSet::Hash(const std::uint8_t* key, std::size_t size) {
  std::uint64_t h = 0x9e3779b97f4a7c15ull ^ size;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, key + i, 8);
    h = (h ^ w) * 0xff51afd7ed558ccdull;
    h ^= h >> 32;
  }
  std::uint64_t w = 0;
  std::memcpy(&w, key + i, size - i);
  h = (h ^ w) * 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 29;
  h *= 0x94d049bb133111ebull;
  return h ^ (h >> 31);
}

std::uint32_t TPositionSet::Find(const std::uint8_t* key, std::uint64_t hash) const {
  const auto low = static_cast<std::uint32_t>(hash);
  for (std::size_t s = (hash >> 32) & Mask;; s = (s + 1) & Mask) {
    const std::uint32_t e = Slots[s];
    if (e == 0) return None;
    const std::uint32_t i = e - 1;
    if (Hashes[i] == low && std::memcmp(Key(i), key, KeySize) == 0) return i;
  }
}

std::uint32_t TPositionSet::Add(const std::uint8_t* key, std::uint64_t hash, std::uint32_t parent,
                                std::uint16_t gesture, std::uint32_t moves) {
  if ((Parent.size() + 1) * 2 > Slots.size()) Grow();
  const auto i = static_cast<std::uint32_t>(Parent.size());
  Keys.insert(Keys.end(), key, key + KeySize);
  Hashes.push_back(static_cast<std::uint32_t>(hash));
  Parent.push_back(parent);
  Gesture.push_back(gesture);
  Moves.push_back(moves);
  std::size_t s = (hash >> 32) & Mask;
  while (Slots[s] != 0) s = (s + 1) & Mask;
  Slots[s] = i + 1;
  return i;
}

void TPositionSet::Grow() {
  Slots.assign(Slots.size() * 2, 0);
  Mask = Slots.size() - 1;
  for (std::uint32_t i = 0; i < Parent.size(); ++i) {
    const std::uint64_t hash = Hash(Key(i), KeySize);
    std::size_t s = (hash >> 32) & Mask;
    while (Slots[s] != 0) s = (s + 1) & Mask;
    Slots[s] = i + 1;
  }
}

std::size_t TPositionSet::Bytes() const {
  return Keys.capacity() + 4 * Hashes.capacity() + 4 * Parent.capacity() + 2 * Gesture.capacity() +
         4 * Moves.capacity() + 4 * Slots.capacity();
}

std::size_t TPositionSet::BytesDuringNextAdd() const {
  std::size_t peak = Bytes();
  auto growth = [&](std::size_t size, std::size_t capacity, std::size_t add, std::size_t unit) {
    if (size + add > capacity) peak += unit * (capacity > add ? capacity : add) * 2;
  };
  growth(Keys.size(), Keys.capacity(), KeySize, 1);
  growth(Parent.size(), Parent.capacity(), 1, 4 + 4 + 2 + 4);
  if ((Parent.size() + 1) * 2 > Slots.size()) peak += 4 * Slots.size() * 2;
  return peak;
}

}  // namespace pav
