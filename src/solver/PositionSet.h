// The positions a search has seen: each one packed into a fixed number of bytes,
// kept once, numbered in the order they were first seen, with the gesture that
// led to it and the moves it took.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Pattern.h"
#include "files/Records.h"

namespace pav {

// Packs the tiles and links of positions on one board. Only the cells a tile can
// ever stand on take part: floor cells, the cells a jump puts tiles out on, and the
// cells the first position has tiles on. Tiles never appear or vanish, so every
// position of a search packs into the same number of bytes: a bit per cell, the
// faces of the occupied cells in order, then the link entries as they stand.
class TPositionCodec {
 public:
  TPositionCodec(const TBoard& board, const TPattern& first);

  std::size_t KeySize() const { return Size; }
  void Pack(const TPattern& p, std::uint8_t* key) const;
  // Rebuilds a position: the first position with the packed tiles and links put in.
  void Unpack(const std::uint8_t* key, TPattern& p) const;

 private:
  std::vector<std::uint16_t> Cells;  // x * GridH + y of every cell that may hold a tile
  TPattern Template;                 // the first position with those cells cleared
  int Tiles = 0;
  int LinkEntries = 0;               // entries up to the last one holding anything
  std::size_t Size = 0;
};

// The set of packed positions with, for each, where it came from.
class TPositionSet {
 public:
  static constexpr std::uint32_t None = 0xffffffffu;

  explicit TPositionSet(std::size_t keySize);

  // Index of the key when present, else None.
  std::uint32_t Find(const std::uint8_t* key, std::uint64_t hash) const;
  // Adds a key known to be absent; returns its index.
  std::uint32_t Add(const std::uint8_t* key, std::uint64_t hash, std::uint32_t parent, std::uint16_t gesture,
                    std::uint32_t moves);
  static std::uint64_t Hash(const std::uint8_t* key, std::size_t size);

  std::size_t Count() const { return Parent.size(); }
  const std::uint8_t* Key(std::uint32_t i) const { return Keys.data() + static_cast<std::size_t>(i) * KeySize; }
  std::size_t Bytes() const;
  // The most memory the next Add can hold at once, while a full table or list is
  // moved into a larger one.
  std::size_t BytesDuringNextAdd() const;

  std::vector<std::uint32_t> Parent;
  std::vector<std::uint16_t> Gesture;  // packed as PackGesture makes it
  std::vector<std::uint32_t> Moves;

 private:
  void Grow();

  std::size_t KeySize;
  std::vector<std::uint8_t> Keys;
  std::vector<std::uint32_t> Hashes;  // the low half of each key's hash
  std::vector<std::uint32_t> Slots;   // position index + 1, 0 for an empty slot
  std::size_t Mask = 0;
};

constexpr std::uint16_t PackGesture(int x, int y, int dir) {
  return static_cast<std::uint16_t>((x << 7) | (y << 3) | dir);
}
constexpr int GestureX(std::uint16_t g) { return g >> 7; }
constexpr int GestureY(std::uint16_t g) { return (g >> 3) & 15; }
constexpr int GestureDir(std::uint16_t g) { return g & 7; }

}  // namespace pav
