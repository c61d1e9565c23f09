#include "app/Startup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSettings>
#include <cstdlib>
#include <map>
#include <memory>

#include "app/AppState.h"
#include "app/Log.h"
#include "files/ConfigValues.h"
#include "files/GameFiles.h"
#include "media/Music.h"
#include "platform/Audio.h"
#include "platform/InstanceLock.h"
#include "platform/Installation.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/qt/MessageBox.h"
#include "render/Graphics.h"
#include "render/Skinning.h"

namespace pav {

namespace {

bool Terminating = false;

void RequestTermination() { Terminating = true; }

// Paths in messages are shown as the game's 8-bit text.
std::string Shown(const std::string& path) { return Utf8ToCp1252(path); }

TConfig& Cfg() { return App().Config; }

// The data folder's lock, held for the life of the process.
TInstanceLock& FolderLock() {
  static TInstanceLock lock;
  return lock;
}

// ---- Pointer shapes, drawn in code ----------------------------------------

std::map<int, QCursor>& Shapes() {
  static std::map<int, QCursor> shapes;
  return shapes;
}

constexpr int ShapeSize = 32;

// X11 shows a pointer's picture pixel for pixel on the screen, with its hot spot in the
// picture's pixels, so there the shapes are drawn at the screen's scale factor: on a
// HiDPI screen they keep their size and stay sharp. Other platforms get the 32 x 32
// pictures, as before.
qreal ShapeRatio() {
  if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return 1.0;
  return qGuiApp->devicePixelRatio();
}

QPixmap BlankShape() {
  const qreal ratio = ShapeRatio();
  QPixmap pm(QSize(ShapeSize, ShapeSize) * ratio);
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  return pm;
}

// A shape with its hot spot given in the 32 x 32 drawing's own pixels.
QCursor Shape(const QPixmap& pm, int hotX, int hotY) {
  const qreal ratio = pm.devicePixelRatio();
  return QCursor(pm, qRound(hotX * ratio), qRound(hotY * ratio));
}

// White with a black outline, like the platform's own shapes.
void Outline(QPainter& p, const QPainterPath& path) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(path.simplified());
}

QPainterPath Finger(qreal x, qreal top, qreal bottom, qreal w) {
  QPainterPath f;
  f.addRoundedRect(QRectF(x, top, w, bottom - top), w / 2, w / 2);
  return f;
}

QCursor PointingHand() {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath hand;
  hand.addRoundedRect(QRectF(8, 14, 17, 15), 5, 5);    // palm
  hand = hand.united(Finger(10, 2, 18, 5));             // index finger, raised
  hand = hand.united(Finger(14.5, 11, 18, 4.5));        // folded fingers
  hand = hand.united(Finger(18.5, 12, 18, 4.5));
  hand = hand.united(Finger(22, 13.5, 20, 4));
  hand = hand.united(Finger(4, 16, 24, 5));             // thumb
  Outline(p, hand);
  p.end();
  return Shape(pm, 12, 2);
}

QCursor FlatHand() {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath hand;
  hand.addRoundedRect(QRectF(8, 14, 17, 15), 5, 5);
  hand = hand.united(Finger(8.5, 3, 18, 4.5));
  hand = hand.united(Finger(13, 1, 18, 4.5));
  hand = hand.united(Finger(17.5, 2, 18, 4.5));
  hand = hand.united(Finger(22, 5, 19, 4));
  hand = hand.united(Finger(3, 13, 23, 5));
  Outline(p, hand);
  p.end();
  return Shape(pm, 16, 16);
}

QCursor GrabbingHand() {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath hand;
  hand.addRoundedRect(QRectF(7, 11, 19, 16), 6, 6);
  for (int i = 0; i < 4; ++i) hand = hand.united(Finger(8.5 + i * 4.3, 8, 15, 4.3));
  hand = hand.united(Finger(4, 14, 22, 5));
  Outline(p, hand);
  p.setPen(QPen(Qt::black, 1));
  for (int i = 1; i < 4; ++i) p.drawLine(QPointF(8.5 + i * 4.3, 9), QPointF(8.5 + i * 4.3, 14));
  p.end();
  return Shape(pm, 16, 16);
}

// A straight double-headed arrow across the middle, horizontal or vertical.
QCursor DoubleArrow(bool horizontal) {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath a;
  const QPolygonF shape({{2, 16}, {9, 9}, {9, 13}, {23, 13}, {23, 9}, {30, 16},
                         {23, 23}, {23, 19}, {9, 19}, {9, 23}});
  a.addPolygon(shape);
  a.closeSubpath();
  if (!horizontal) {
    QTransform t;
    t.translate(16, 16).rotate(90).translate(-16, -16);
    a = t.map(a);
  }
  Outline(p, a);
  p.end();
  return Shape(pm, 16, 16);
}

QCursor Arrow() {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath a;
  a.addPolygon(QPolygonF({{1, 1}, {1, 22}, {6, 17}, {10, 26}, {13.5, 24.5}, {9.5, 16}, {16, 16}}));
  a.closeSubpath();
  Outline(p, a);
  p.end();
  return Shape(pm, 1, 1);
}

QCursor FourWayMove() {
  QPixmap pm = BlankShape();
  QPainter p(&pm);
  QPainterPath a;
  a.addPolygon(QPolygonF({{16, 1},  {21.5, 7},  {18, 7},  {18, 14}, {25, 14}, {25, 10.5}, {31, 16},
                          {25, 21.5}, {25, 18}, {18, 18}, {18, 25}, {21.5, 25}, {16, 31}, {10.5, 25},
                          {14, 25}, {14, 18}, {7, 18},  {7, 21.5}, {1, 16},   {7, 10.5}, {7, 14},
                          {14, 14}, {14, 7},  {10.5, 7}}));
  a.closeSubpath();
  Outline(p, a);
  p.end();
  return Shape(pm, 16, 16);
}

// ---- Game files -------------------------------------------------------------

bool GraphicsExists(const std::string& name) {
  return !FileNameProblem(name) && (FileExists(App().Path("\\Graphics\\" + name + ".BMP")) ||
                                    FileExists(App().Path("\\Graphics\\" + name + ".JPG")));
}

std::string BoardPath(const std::string& name) { return App().Path("\\Boards\\" + name + ".BRD"); }
std::string CampaignPath(const std::string& name) { return App().Path("\\Campaigns\\" + name + ".CPN"); }

// The puzzle's file: "\Puzzles\" when it is there, else "\Puzzles\Campaign Levels\".
std::string PuzzlePath(const std::string& name) {
  const std::string direct = App().Path("\\Puzzles\\" + name + ".PZZ");
  if (FileExists(direct)) return direct;
  return App().Path("\\Puzzles\\Campaign Levels\\" + name + ".PZZ");
}

// Names of the board files, in order, without extension; names longer than a
// configuration field holds could not be found again and are left out.
std::vector<std::string> BoardNames() {
  std::vector<std::string> names;
  for (const auto& file : ListFiles(App().Path("\\Boards"), ".BRD")) {
    std::string name;
    if (GameNameOfFile(file.substr(0, file.size() - 4), name) &&
        name.size() <= static_cast<std::size_t>(TName50::Capacity))
      names.push_back(name);
  }
  return names;
}

// A single game on the named board, without puzzle or campaign.
void FallBackToBoard(const std::string& name) {
  TConfig& c = Cfg();
  c.BoardName.Assign(name);
  c.GameMode = 1;
  c.PuzzleName.Assign("");
  c.CampaignName.Assign("");
  c.IPFromPuzzle = 0;
  c.OPFromPuzzle = 0;
  c.TLFromPuzzle = 0;
  c.MLFromPuzzle = 0;
}

// Loads the files Config names into Game, all or nothing.
void LoadConfiguredFiles() {
  TConfig& c = Cfg();
  auto board = std::make_unique<TBoard>();
  LoadBoard(BoardPath(c.BoardName.Str()), *board);
  std::unique_ptr<TCampaign> campaign;
  if (!c.CampaignName.Empty()) {
    campaign = std::make_unique<TCampaign>();
    LoadCampaign(CampaignPath(c.CampaignName.Str()), *campaign);
  }
  std::string puzzleName = c.PuzzleName.Str();
  if (c.GameMode == 3) puzzleName = campaign ? campaign->Levels[0].Str() : std::string();
  std::unique_ptr<TPuzzle> puzzle;
  if (!puzzleName.empty()) {
    puzzle = std::make_unique<TPuzzle>();
    LoadPuzzle(PuzzlePath(puzzleName), *puzzle);
  }
  TGame& g = App().Game();
  g.Board = *board;
  if (campaign) g.Campaign = *campaign;
  if (puzzle) g.Puzzle = *puzzle;
  // Before a game the window shows the objective: the puzzle's when the pattern
  // comes from it, else the board's own.
  g.Current = (c.IPFromPuzzle && puzzle) ? g.Puzzle.OP : g.Board.Pattern;
}

void ReportUnusableFile(const std::string& file, const std::string& why) {
  ShowMessage("The file '" + Shown(file) + "' can't be used : " + why + ".", TMessageIcon::Exclamation);
}

}  // namespace

// ---- Installation folder --------------------------------------------------

std::string SettingsFilePath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (xdg && xdg[0] == '/') {
    folder = xdg;
  } else {
    folder = QDir::homePath().toStdString() + "/.config";
  }
  return folder + "/Pavilore.conf";
}

std::string ReadAppFolder() {
  QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
  std::string folder = store.value(QStringLiteral("AppFolder")).toString().toStdString();
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

// ---- Pointer shapes -------------------------------------------------------

void RegisterPointerShapes() {
  auto& s = Shapes();
  s[ColoPoint] = PointingHand();
  s[ColoFlat] = FlatHand();
  s[ColoGrab] = GrabbingHand();
  s[ColoUpDown] = DoubleArrow(false);
  s[ColoLeftRight] = DoubleArrow(true);
  s[ColoArrow] = Arrow();
  s[ColoMove] = FourWayMove();
  SetMoveCursor(s[ColoMove]);
}

QPixmap HandPicture(bool grabbing) { return grabbing ? GrabbingHand().pixmap() : FlatHand().pixmap(); }

QCursor PointerShape(int number) {
  const auto& s = Shapes();
  const auto it = s.find(number);
  return it == s.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

void SetPointerOverride(int number) {
  if (number == PointerDefault) {
    RestoreNormalPointer();
    return;
  }
  const QCursor shape = number == PointerHand ? QCursor(Qt::PointingHandCursor) : PointerShape(number);
  if (QGuiApplication::overrideCursor())
    QGuiApplication::changeOverrideCursor(shape);
  else
    QGuiApplication::setOverrideCursor(shape);
}

// ---- The steps of the main window's creation -------------------------------

bool TerminationRequested() { return Terminating; }
void ClearTerminationRequest() { Terminating = false; }

bool LockAppFolder() {
  const std::string& folder = App().AppFolder;
  TInstanceLock& lock = FolderLock();
  // Without a data folder there is nothing to share; a start-up run again by this
  // same process keeps the lock it has.
  if (folder.empty() || (lock.Held() && lock.Folder() == folder)) return true;
  // A folder without the configuration is no game folder (a stale or hand-edited
  // setting): the start-up says so, and no lock file is left in it.
  if (!FileExists(App().Path(ConfigRelativePath))) return true;
  // A folder where no lock file can be made does not stop the game: its files that
  // cannot be written are reported when they are written.
  if (lock.Take(folder) != TLockOutcome::HeldElsewhere) return true;
  ShowMessage("Pavilore is already running with the data folder '" + Shown(folder) + "'.", TMessageIcon::Stop);
  RequestTermination();
  return false;
}

namespace {

// The first start of a player: no data folder stored yet. The installation image
// beside the program becomes the player's data folder, as pavilore-tool install
// makes it (nothing the player has is replaced), and the folder is stored.
bool InstallForFirstStart() {
  if (!App().AppFolder.empty()) return true;
  std::string image;
  try {
    image = InstallationImageFolder();
  } catch (const EInstallError&) {
    return true;
  }
  // Without an installation image beside the program there is nothing to install:
  // the configuration is then missing, as for any folder without one.
  if (!FolderExists(image)) return true;
  try {
    App().AppFolder = InstallDefaultData(image).Folder;
  } catch (const EInstallError& e) {
    ShowMessage(std::string("The game's data can't be installed for you : ") + Utf8ToCp1252(e.what()) + ".",
                TMessageIcon::Stop);
    RequestTermination();
    return false;
  }
  return true;
}

}  // namespace

bool ReadConfiguration() {
  App().AppFolder = ReadAppFolder();
  if (!InstallForFirstStart()) return false;
  if (!LockAppFolder()) return false;
  const std::string path = App().Path(ConfigRelativePath);
  if (!FileExists(path)) {
    ShowMessage("The configuration file : '..\\System\\Pavilore.CFG' is missing.", TMessageIcon::Stop);
    RequestTermination();
    return false;
  }
  auto config = std::make_unique<TConfig>();
  try {
    LoadConfig(path, *config);
  } catch (const EInOutError& e) {
    ShowMessage("The configuration file '" + Shown(path) + "' can't be read : " + e.Reason + ".",
                TMessageIcon::Stop);
    RequestTermination();
    return false;
  }
  if (const auto err = CheckConfigRecord(*config)) {
    ShowMessage("The configuration file '" + Shown(path) + "' is damaged : " + *err + ".", TMessageIcon::Stop);
    RequestTermination();
    return false;
  }
  Cfg() = *config;
  return true;
}

namespace {

// The default tile set in place of the configured one; the custom picture, laid
// over a set the player no longer has, goes off with it.
void UseDefaultTileSet(TConfig& c) {
  c.TileSet.Assign("TS - Default");
  c.UserTileSet.Assign("TS - Default");
  c.PicturePath.Assign("");
  c.PictureOn = 0;
  c.UserPictureOn = 0;
}

}  // namespace

void RepairGraphicsChoice() {
  TConfig& c = Cfg();
  if (!GraphicsExists(c.BoardGraphics.Str())) c.BoardGraphics.Assign("GB - Default");
  if (!GraphicsExists(c.TileSet.Str())) UseDefaultTileSet(c);
}

void LoadSkin() {
  CreateSkinBitmaps();
  LoadBackgroundPicture();
  // A configured set whose picture is there but cannot be used (damaged, cut
  // short, too small) was named by its message: the default set takes its place
  // as for a missing one, so the window never opens without a board or tiles.
  // Each round puts one set right; a default set that fails too stays as it is.
  TGraphicsFault fault = TGraphicsFault::None;
  for (int round = 0; round < 3 && !LoadGraphicsSet(&fault); ++round) {
    TConfig& c = Cfg();
    if (fault == TGraphicsFault::BoardGraphics && !SameTextIgnoringCase(c.BoardGraphics.Str(), "GB - Default")) {
      c.BoardGraphics.Assign("GB - Default");
      LoadBackgroundPicture();
    } else if (fault == TGraphicsFault::TileSet && !SameTextIgnoringCase(c.TileSet.Str(), "TS - Default")) {
      UseDefaultTileSet(c);
    } else {
      break;
    }
  }
  ApplyCustomPicture();
}

// A puzzle of a single game or a game against the computer that is laid on another
// board than the configured one (a hand-edited file): it could never be solved there.
bool PuzzleOnAnotherBoard(const TConfig& c) {
  if (c.PuzzleName.Empty() || c.GameMode == 3) return false;
  auto puzzle = std::make_unique<TPuzzle>();
  try {
    ReadRecord(PuzzlePath(c.PuzzleName.Str()), *puzzle);
  } catch (const EInOutError&) {
    return false;  // loading it names the problem
  }
  return !SameTextIgnoringCase(puzzle->BoardName.Str(), c.BoardName.Str());
}

bool ValidateGameFiles() {
  const TConfig& c = Cfg();
  // A name that is no file name (a path, say) is as stale as a missing file.
  const bool badName = FileNameProblem(c.BoardName.Str()) || FileNameProblem(c.PuzzleName.Str()) ||
                       FileNameProblem(c.CampaignName.Str());
  const bool stale = badName || !FileExists(BoardPath(c.BoardName.Str())) ||
                     (!c.PuzzleName.Empty() && !FileExists(PuzzlePath(c.PuzzleName.Str()))) ||
                     (!c.CampaignName.Empty() && !FileExists(CampaignPath(c.CampaignName.Str()))) ||
                     PuzzleOnAnotherBoard(c);
  if (!stale) return true;
  const auto names = BoardNames();
  if (names.empty()) {
    ShowMessage("There aren't any boards in the 'Boards' folder.", TMessageIcon::Stop);
    RequestTermination();
    return false;
  }
  FallBackToBoard(names.front());
  return true;
}

bool LoadGameData() {
  try {
    LoadConfiguredFiles();
    return true;
  } catch (const EBadGameFile& e) {
    ReportUnusableFile(e.File, e.Rule);
  } catch (const EInOutError& e) {
    ReportUnusableFile(e.File, e.Reason);
  }
  // As for a missing file: a single game on the first board that loads.
  for (const auto& name : BoardNames()) {
    auto board = std::make_unique<TBoard>();
    try {
      LoadBoard(BoardPath(name), *board);
    } catch (const std::runtime_error&) {
      continue;
    }
    FallBackToBoard(name);
    App().Game().Board = *board;
    App().Game().Current = board->Pattern;
    return true;
  }
  ShowMessage("There aren't any usable boards in the 'Boards' folder.", TMessageIcon::Stop);
  RequestTermination();
  return false;
}

namespace {

// What a write stopped half-way (the game killed, the power gone) left beside the
// game's files; the files themselves were never touched by it.
void RemoveLeftoversOfInterruptedWrites() {
  for (const char* folder :
       {"\\System", "\\Boards", "\\Puzzles", "\\Puzzles\\Campaign Levels", "\\Campaigns", "\\Saved Games"})
    RemoveWriteLeftovers(App().Path(folder));
  // The player's log is written whole into its scratch file and renamed over the
  // player's file; a scratch file still there holds nothing the player's file lacks.
  // Only this copy of the game writes in the folder, so it can go at once.
  const std::string scratch = App().Path(std::string("\\Players\\") + LogScratchName);
  struct stat st;
  if (::lstat(scratch.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(scratch.c_str());
}

}  // namespace

void InitialiseProcessState() {
  TApp& app = App();
  app.SidePanelShown = true;
  app.State.GameRunning = false;
  app.OPPlacementPending = true;
  app.CheatsEnabled = false;
  app.KeepBoardVisible = false;
  app.State.ComputerHurry = false;
  ResetLogBuffer();
  RemoveLeftoversOfInterruptedWrites();
  // The first track of the alphabetical order is then the second of the list.
  app.MusicAlphaPosition = 0;
  // BackgroundLoaded was settled when the background was loaded.

  CheckMusicFile();
}

bool RunStartup() {
  Terminating = false;
  if (!ReadConfiguration()) return false;
  RepairConfigValues(Cfg());
  RegisterPointerShapes();
  RepairGraphicsChoice();
  LoadSkin();
  if (!ValidateGameFiles()) return false;
  if (!LoadGameData()) return false;
  InitialiseProcessState();
  // Silent when there is no device: the game runs all the same. The open goes on
  // beside the rest of the start-up.
  OpenAudioDeviceSoon();
  return true;
}

void LogApplicationStarted() {
  LogLine(" -", false);
  LogLine(" " + Dashes(24), false);
  LogLine(" -", false);
  LogLine("Application Started.", true);
  LogLine(" -", false);
}

// ---- Exit -------------------------------------------------------------------

bool SaveConfiguration() {
  const std::string path = App().Path(ConfigRelativePath);
  try {
    StoreConfig(path, Cfg());
    return true;
  } catch (const EInOutError& e) {
    ShowMessage("The configuration file '" + Shown(path) + "' could not be written : " + e.Reason +
                    ". The settings of this session are lost; the file was left as it was.",
                TMessageIcon::Error);
    return false;
  }
}

void RunExitSteps() {
  SaveConfiguration();
  CloseMusicPlayers();
  CloseAudioDevice();
  LogLine("Application Terminated.", true);
  WritePlayerLog(Cfg().PlayerName.Str());
}

}  // namespace pav
