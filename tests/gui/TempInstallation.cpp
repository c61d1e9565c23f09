#include "gui/TempInstallation.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "app/AppState.h"
#include "app/Log.h"
#include "app/Startup.h"
#include "files/GameFiles.h"

namespace pav::test {

std::unique_ptr<TBoard> MakeBoard(int width, int height, const std::string& title) {
  auto b = std::make_unique<TBoard>();
  std::memset(b.get(), 0, sizeof(TBoard));
  b->Width = static_cast<std::uint8_t>(width);
  b->Height = static_cast<std::uint8_t>(height);
  for (int x = 1; x <= width; ++x)
    for (int y = 1; y <= height; ++y)
      b->Cells[x][y] = (x == 1 || y == 1 || x == width || y == height) ? 1 : 0;
  b->Pattern.Tiles[2][2] = 1;
  b->StepsPerMove = 1;
  b->Title.Assign(title);
  b->Author.Assign("Tests");
  return b;
}

std::unique_ptr<TPuzzle> MakePuzzle(const std::string& boardName, const std::string& title) {
  auto p = std::make_unique<TPuzzle>();
  std::memset(p.get(), 0, sizeof(TPuzzle));
  p->BoardName.Assign(boardName);
  p->IP.Tiles[2][2] = 1;
  p->OP.Tiles[3][3] = 2;
  p->Title.Assign(title);
  return p;
}

TConfig MakeConfig(const std::string& board) {
  TConfig c;
  std::memset(&c, 0, sizeof c);
  // The custom picture's rectangle as its window first offers it.
  c.PictureW = c.PictureH = 5;
  c.PictureX = c.PictureY = 1;
  c.GameMode = 1;
  c.BoardName.Assign(board);
  c.WriteLog = 1;
  c.ShowInvalid = 1;
  c.PlayerName.Assign("Tester");
  c.BoardGraphics.Assign("GB - Default");
  c.TileSet.Assign("TS - Default");
  c.UserTileSet.Assign("TS - Default");
  c.MusicMode = 1;
  c.ClickSound.Assign("[None]");
  return c;
}

MessageCatcher::MessageCatcher() {
  SetMessageHook([this](const std::string& text, TMessageIcon icon) { Messages.emplace_back(text, icon); });
}
MessageCatcher::~MessageCatcher() { SetMessageHook(nullptr); }

TempInstallation::TempInstallation() : Root(Dir.path().toStdString()) {
  if (!Dir.isValid()) throw std::runtime_error("no temporary folder");
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
    HadXdg = true;
    OldXdg = old;
  }
  QDir root(Dir.path());
  for (const char* sub : {"config", "System", "Boards", "Puzzles/Campaign Levels", "Campaigns", "Graphics",
                          "Players", "Music", "Sounds", "Saved Games"})
    root.mkpath(QString::fromUtf8(sub));
  setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
  {
    QSettings store(QString::fromStdString(Root + "/config/Pavilore.conf"), QSettings::IniFormat);
    store.setValue(QStringLiteral("AppFolder"), QString::fromStdString(Root));
  }
  AddPicture("GB - Default.BMP", 480, 192);
  AddPicture("TS - Default.BMP", 480, 240);
  ResetApp();
  ResetLogBuffer();
  ClearTerminationRequest();
}

TempInstallation::~TempInstallation() {
  if (HadXdg)
    setenv("XDG_CONFIG_HOME", OldXdg.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  ResetApp();
  ResetLogBuffer();
  ClearTerminationRequest();
}

std::string TempInstallation::File(const std::string& relative) const { return Root + "/" + relative; }

void TempInstallation::WriteConfig(const TConfig& c) { StoreConfig(File("System/Pavilore.CFG"), c); }

TConfig TempInstallation::ReadConfig() const {
  TConfig c;
  LoadConfig(File("System/Pavilore.CFG"), c);
  return c;
}

void TempInstallation::AddBoard(const std::string& name, const TBoard& b) { StoreBoard(File("Boards/" + name + ".BRD"), b); }

void TempInstallation::AddBoard(const std::string& name, const std::string& title) {
  AddBoard(name, *MakeBoard(6, 5, title));
}

void TempInstallation::AddPuzzle(const std::string& relativeFolder, const std::string& name, const TPuzzle& p) {
  StorePuzzle(File(relativeFolder + "/" + name + ".PZZ"), p);
}

void TempInstallation::AddCampaign(const std::string& name, const std::vector<std::string>& levels,
                                   const std::string& title) {
  auto c = std::make_unique<TCampaign>();
  std::memset(c.get(), 0, sizeof(TCampaign));
  for (std::size_t i = 0; i < levels.size(); ++i) c->Levels[i].Assign(levels[i]);
  c->Title.Assign(title);
  StoreCampaign(File("Campaigns/" + name + ".CPN"), *c);
}

void TempInstallation::AddPicture(const std::string& fileName, int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  QPainter p(&img);
  for (int y = 0; y < height; y += 8)
    for (int x = 0; x < width; x += 8) p.fillRect(x, y, 8, 8, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
  p.end();
  img.save(QString::fromStdString(File("Graphics/" + fileName)), "BMP");
}

void TempInstallation::UseOneSound(TConfig& c) {
  c.SoundsOn = 1;
  for (TName50* n : {&c.ClickSound, &c.MoveSound, &c.SolvedSound, &c.GameOverSound}) n->Assign("Beep");
  WriteBytes("Sounds/Beep.WAV", "RIFF");
}

void TempInstallation::WriteBytes(const std::string& relative, const std::string& bytes) {
  std::ofstream out(File(relative), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string TempInstallation::ReadBytes(const std::string& relative) const {
  std::ifstream in(File(relative), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> TempInstallation::ReadLines(const std::string& relative) const {
  std::vector<std::string> lines;
  std::ifstream in(File(relative), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool TempInstallation::Exists(const std::string& relative) const { return QFile::exists(QString::fromStdString(File(relative))); }

void TempInstallation::Remove(const std::string& relative) { QFile::remove(QString::fromStdString(File(relative))); }

void TempInstallation::ForgetAppFolder() {
  QSettings store(QString::fromStdString(Root + "/config/Pavilore.conf"), QSettings::IniFormat);
  store.remove(QStringLiteral("AppFolder"));
}

}  // namespace pav::test
