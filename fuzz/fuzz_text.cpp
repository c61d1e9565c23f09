// The text form of boards, puzzles and campaigns. The first input byte chooses:
//   0      the rest is a text for PackText; a text it accepts gives one whole
//          record of its kind, and that record, unpacked and packed again, gives
//          the same bytes;
//   1,2,3  the rest is a board, puzzle or campaign record (zero-filled when short):
//          unpacking it and packing the text gives the record back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "files/TextFormat.h"

using namespace pav;
using namespace pav::fuzz;

namespace {

std::size_t RecordSize(TGameFileKind k) {
  switch (k) {
    case TGameFileKind::Board:
      return sizeof(TBoard);
    case TGameFileKind::Puzzle:
      return sizeof(TPuzzle);
    case TGameFileKind::Campaign:
      return sizeof(TCampaign);
  }
  return 0;
}

std::string Unpack(TGameFileKind k, const std::uint8_t* bytes) {
  switch (k) {
    case TGameFileKind::Board: {
      auto b = RecordFromBytes<TBoard>(bytes, sizeof(TBoard));
      return UnpackBoard(*b);
    }
    case TGameFileKind::Puzzle: {
      auto p = RecordFromBytes<TPuzzle>(bytes, sizeof(TPuzzle));
      return UnpackPuzzle(*p, nullptr);
    }
    case TGameFileKind::Campaign: {
      auto c = RecordFromBytes<TCampaign>(bytes, sizeof(TCampaign));
      return UnpackCampaign(*c);
    }
  }
  return {};
}

// Unpacks a whole record of kind k and packs the text: the same record must come back.
void CheckRoundTrip(TGameFileKind k, const std::uint8_t* bytes) {
  const std::string text = Unpack(k, bytes);
  TPackedFile packed;
  try {
    packed = PackText(text);
  } catch (const ETextFormatError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    Fail("the text of a record does not pack");
  }
  PAV_FUZZ_CHECK(packed.Kind == k);
  PAV_FUZZ_CHECK(packed.Bytes.size() == RecordSize(k));
  PAV_FUZZ_CHECK(std::memcmp(packed.Bytes.data(), bytes, RecordSize(k)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int mode = data[0] % 4;
  ++data;
  --size;
  if (mode == 0) {
    TPackedFile packed;
    try {
      packed = PackText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ETextFormatError& e) {
      PAV_FUZZ_CHECK(e.Line >= 0);
      return 0;
    }
    PAV_FUZZ_CHECK(packed.Bytes.size() == RecordSize(packed.Kind));
    CheckRoundTrip(packed.Kind, packed.Bytes.data());
    return 0;
  }
  const TGameFileKind kind = mode == 1 ? TGameFileKind::Board : mode == 2 ? TGameFileKind::Puzzle : TGameFileKind::Campaign;
  std::string record(RecordSize(kind), '\0');
  std::memcpy(record.data(), data, size < record.size() ? size : record.size());
  CheckRoundTrip(kind, reinterpret_cast<const std::uint8_t*>(record.data()));
  return 0;
}
