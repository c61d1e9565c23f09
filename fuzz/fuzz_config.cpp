// The configuration reader: the input is the content of the configuration file.
// It goes through LoadConfig as a file; every name it holds survives the trip to
// the screen and back (Windows-1252 to UTF-8 and back), and the record is written
// back byte for byte. The values start-up repairs come out in their ranges, a
// repaired player's name can name a log file, and a second repair changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "files/ConfigValues.h"
#include "files/GameFiles.h"
#include "platform/Text.h"

using namespace pav;
using namespace pav::fuzz;

namespace {

template <int N>
void CheckName(const TShortString<N>& s) {
  const std::string bytes = s.Str();
  PAV_FUZZ_CHECK(bytes.size() <= static_cast<std::size_t>(N));
  PAV_FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(bytes)) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  auto config = LoadThroughFile<TConfig>(file, data, size, &LoadConfig, nullptr);
  if (!config) {
    // Any text typed by the player comes back from its 8-bit form unchanged
    // when it is representable; and no byte string breaks the conversion.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    PAV_FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(bytes)) == bytes);
    (void)Cp1252ToUtf8(Utf8ToCp1252(bytes));
    return 0;
  }
  const TConfig& c = *config;
  CheckName(c.BoardName);
  CheckName(c.PuzzleName);
  CheckName(c.CampaignName);
  CheckName(c.PlayerName);
  CheckName(c.BoardGraphics);
  CheckName(c.TileSet);
  CheckName(c.UserTileSet);
  CheckName(c.ClickSound);
  CheckName(c.MoveSound);
  CheckName(c.SolvedSound);
  CheckName(c.GameOverSound);
  CheckName(c.MusicFile);
  CheckName(c.PicturePath);

  const auto original = std::make_unique<TConfig>(c);
  StoreAndCompare(file, &StoreConfig, c, *original, 0, 0);

  auto repaired = std::make_unique<TConfig>(c);
  RepairConfigValues(*repaired);
  const TConfig& r = *repaired;
  PAV_FUZZ_CHECK(r.PictureW >= 1 && r.PictureW <= 20 && r.PictureH >= 1 && r.PictureH <= 20);
  PAV_FUZZ_CHECK(r.PictureX >= -18 && r.PictureX <= 5 && r.PictureY >= -18 && r.PictureY <= 5);
  PAV_FUZZ_CHECK(r.PlayerName.Empty() || PlayerNameProblem(r.PlayerName.Str()).empty());
  PAV_FUZZ_CHECK(r.PlayerName.Empty() || r.ShowWelcome == c.ShowWelcome);
  const bool nameKept = c.PlayerName.Len <= TName20::Capacity && PlayerNameProblem(c.PlayerName.Str()).empty();
  PAV_FUZZ_CHECK(nameKept == (r.PlayerName.Str() == c.PlayerName.Str()) || c.PlayerName.Empty());
  auto again = std::make_unique<TConfig>(r);
  RepairConfigValues(*again);
  PAV_FUZZ_CHECK(std::memcmp(again.get(), &r, sizeof r) == 0);
  return 0;
}
