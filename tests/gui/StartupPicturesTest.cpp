// Start-up with configured graphics sets whose pictures are there but cannot be
// used: the message names the picture, the default set takes its place, and the
// repaired choice is what the configuration holds at exit.
#include <gtest/gtest.h>

#include <QImage>
#include <ostream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Startup.h"
#include "gui/TempInstallation.h"
#include "render/Skin.h"

namespace pav::test {
namespace {

struct TCase {
  std::string Name;
  bool BadBoard, BadTiles;
  std::vector<std::string> Messages;
};
// Test lists show the case by its name.
void PrintTo(const TCase& c, std::ostream* os) { *os << c.Name; }

class StartupPicturesTest : public ::testing::TestWithParam<TCase> {
 protected:
  TempInstallation Inst;
  MessageCatcher Messages;

  // A picture of the set, cut before its end (a BMP loses its last row, a JPEG half of itself).
  void AddCut(const std::string& fileName, int width, int height) {
    Inst.AddPicture(fileName, width, height);
    std::string bytes = Inst.ReadBytes("Graphics/" + fileName);
    bytes.resize(bytes.size() - static_cast<std::size_t>(width) * 3);
    Inst.WriteBytes("Graphics/" + fileName, bytes);
  }
  QImage Default(const std::string& fileName) const {
    return QImage(QString::fromStdString(Inst.File("Graphics/" + fileName))).convertToFormat(QImage::Format_RGB32);
  }
};

TEST_P(StartupPicturesTest, AnUnusableSetGivesWayToTheDefaultOne) {
  const TCase& c = GetParam();
  Inst.AddBoard("Alpha", "Alpha");
  if (c.BadBoard)
    Inst.AddPicture("GB - Mine.BMP", 100, 50);
  else
    Inst.AddPicture("GB - Mine.BMP", 480, 192);
  if (c.BadTiles)
    AddCut("TS - Mine.BMP", 480, 240);
  else
    Inst.AddPicture("TS - Mine.BMP", 480, 240);
  Inst.AddPicture("Custom.BMP", 50, 50);
  TConfig config = MakeConfig("Alpha");
  config.BoardGraphics.Assign("GB - Mine");
  config.TileSet.Assign("TS - Mine");
  config.UserTileSet.Assign("TS - Mine");
  config.PicturePath.Assign(Inst.File("Graphics/Custom.BMP"));
  config.PictureOn = config.UserPictureOn = 1;
  Inst.WriteConfig(config);

  ASSERT_TRUE(RunStartup());
  std::vector<std::string> shown;
  for (const auto& [text, icon] : Messages.Messages) shown.push_back(text);
  EXPECT_EQ(shown, c.Messages);

  // The skin is cut from the sets in use: a board and tiles, never a black window.
  const QImage board = Default(c.BadBoard ? "GB - Default.BMP" : "GB - Mine.BMP");
  const QImage tiles = Default(c.BadTiles ? "TS - Default.BMP" : "TS - Mine.BMP");
  EXPECT_EQ(Skin().Floor.pixel(20, 20), board.pixel(68, 68));
  EXPECT_EQ(Skin().TilePicture[1].pixel(20, 20), tiles.pixel(20, 20));
  if (c.BadTiles) {
    EXPECT_EQ(Skin().TilePicture[7].pixel(20, 20), tiles.pixel(308, 20));  // no custom picture on it
  }

  RunExitSteps();
  const TConfig saved = Inst.ReadConfig();
  EXPECT_EQ(saved.BoardGraphics.Str(), c.BadBoard ? "GB - Default" : "GB - Mine");
  EXPECT_EQ(saved.TileSet.Str(), c.BadTiles ? "TS - Default" : "TS - Mine");
  EXPECT_EQ(saved.UserTileSet.Str(), c.BadTiles ? "TS - Default" : "TS - Mine");
  EXPECT_EQ(saved.PictureOn, c.BadTiles ? 0 : 1);
  EXPECT_EQ(saved.UserPictureOn, c.BadTiles ? 0 : 1);
  EXPECT_EQ(saved.PicturePath.Empty(), c.BadTiles);
}

const std::string SmallBoard =
    "Unable to open the image 'GB - Mine.BMP' : the picture is 100 x 50 pixels, a board-graphics picture needs at "
    "least 480 x 192.";
const std::string CutTiles = "Unable to open the image 'TS - Mine.BMP' : the pixel data is cut short.";

INSTANTIATE_TEST_SUITE_P(Sets, StartupPicturesTest,
                         ::testing::Values(TCase{"Usable", false, false, {}},
                                           TCase{"SmallBoardGraphics", true, false, {SmallBoard}},
                                           TCase{"CutTileSet", false, true, {CutTiles}},
                                           TCase{"Both", true, true, {SmallBoard, CutTiles}}),
                         [](const ::testing::TestParamInfo<TCase>& param) { return param.param.Name; });

}  // namespace
}  // namespace pav::test
