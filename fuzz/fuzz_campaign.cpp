// The campaign reader: the input is the content of a campaign file. It goes
// through LoadCampaign as a file, which refuses level names that are no file names;
// the level count must follow the rule of the leading non-empty names, and a result
// entered into the records is written back with every other byte, the unused
// characters of the level names included, kept.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "files/GameFiles.h"

using namespace pav;
using namespace pav::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  auto campaign = LoadThroughFile<TCampaign>(file, data, size, &LoadCampaign, &CheckCampaign);
  if (!campaign) return 0;

  const int count = LevelCount(*campaign);
  PAV_FUZZ_CHECK(count >= 0 && count <= MaxLevels);
  for (int i = 0; i < count; ++i) PAV_FUZZ_CHECK(!campaign->Levels[i].Empty());
  if (count < MaxLevels) PAV_FUZZ_CHECK(campaign->Levels[count].Empty());
  for (int i = 0; i < count; ++i) PAV_FUZZ_CHECK(campaign->Levels[i].Str().size() <= 50);

  const auto original = std::make_unique<TCampaign>(*campaign);
  StoreAndCompare(file, &StoreCampaign, *campaign, *original, 0, 0);
  CheckedUpdate(campaign->Records, TRecordOrder::Ascending, ResultAfter(data, size, sizeof(TCampaign)));
  StoreAndCompare(file, &StoreCampaign, *campaign, *original, offsetof(TCampaign, Records), sizeof(TRecordTable));
  return 0;
}
