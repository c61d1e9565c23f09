// The help page the build made, and the generator that draws its pictures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool ValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 0x2) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::size_t Count(const std::string& s, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

const fs::path HelpFile = fs::path(PAVILORE_SHARE_DIR) / "Pavilore Help.HTML";

// Runs the generator on a source of our own; returns its exit status.
int Generate(const std::string& source, std::string& page) {
  const fs::path dir = fs::temp_directory_path() / ("pavilore-helpgen-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path in = dir / "source.html", out = dir / "page.html";
  std::ofstream(in, std::ios::binary) << source;
  const std::string cmd = std::string("\"") + PAVILORE_HELPGEN + "\" \"" + in.string() + "\" \"" + out.string() + "\" 2>/dev/null";
  const int status = std::system(cmd.c_str());
  page = fs::exists(out) ? ReadText(out) : "";
  fs::remove_all(dir);
  return status;
}

}  // namespace

TEST(HelpPage, IsOneSelfContainedUtf8Page) {
  ASSERT_TRUE(fs::exists(HelpFile));
  const std::string page = ReadText(HelpFile);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_TRUE(ValidUtf8(page));
  // Nothing is fetched from elsewhere: no scripts, images, style sheets or web addresses
  // (the SVG name space is a name, not an address that is loaded).
  EXPECT_EQ(page.find(" src="), std::string::npos);
  EXPECT_EQ(page.find("<link"), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("url("), std::string::npos);
  std::string rest = page;
  const std::string svgNs = "http://www.w3.org/2000/svg";
  for (std::size_t p; (p = rest.find(svgNs)) != std::string::npos;) rest.erase(p, svgNs.size());
  EXPECT_EQ(rest.find("http:"), std::string::npos);
  EXPECT_EQ(rest.find("https:"), std::string::npos);
  // Every placeholder was replaced.
  EXPECT_EQ(page.find("<!--@"), std::string::npos);
}

TEST(HelpPage, PicturesAndLinksHoldTogether) {
  const std::string page = ReadText(HelpFile);
  EXPECT_GE(Count(page, "<svg"), 10u);
  EXPECT_EQ(Count(page, "<svg"), Count(page, "</svg>"));
  EXPECT_EQ(Count(page, "<figure"), Count(page, "</figure>"));
  std::set<std::string> ids;
  const std::regex id("id=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), id); it != std::sregex_iterator(); ++it) {
    EXPECT_TRUE(ids.insert((*it)[1]).second) << "id given twice: " << (*it)[1];
  }
  const std::regex href("href=\"#([^\"]+)\"");
  int links = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it, ++links)
    EXPECT_TRUE(ids.count((*it)[1])) << "link to a missing section: " << (*it)[1];
  EXPECT_GT(links, 10);  // the contents list
}

TEST(HelpPage, CoversTheGame) {
  const std::string page = ReadText(HelpFile);
  for (const char* section : {"about", "rules", "push", "rings", "glue", "corners", "jumps", "refused", "steps", "modes",
                              "single", "computer", "campaign", "mouse", "wheel", "panel", "keyboard", "records",
                              "folders", "making"})
    EXPECT_NE(page.find(std::string("id=\"") + section + "\""), std::string::npos) << section;
  for (const char* key : {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "Esc", "Space", "M",
                          "S", "W", "P", "H", "C"})
    EXPECT_NE(page.find(std::string("<td><kbd>") + key + "</kbd></td>"), std::string::npos) << key;
  for (const char* folder : {"Boards", "Puzzles", "Puzzles/Campaign Levels", "Campaigns", "Saved Games", "Players",
                             "Graphics", "Sounds", "Music", "System"})
    EXPECT_NE(page.find(std::string("<td><code>") + folder + "</code></td>"), std::string::npos) << folder;
}

TEST(HelpGenerator, DrawsThePositionTheEngineMakes) {
  std::string page;
  // One tile pushed right along an empty row of a 5 x 3 board.
  ASSERT_EQ(Generate("<!--@board\nsize 5 3\ngrid\n## ## ## ## ##\n##  1 .. .. ##\n## ## ## ## ##\nend\n@push 2 2 right\n-->",
                     page),
            0);
  // Two pictures, the second one 5 cells and a 64-unit gap to the right; in it tile 1
  // lies on cell (3, 2), whose centre is at (120, 72).
  const std::size_t after = page.find("<g transform=\"translate(304,0)\">");
  ASSERT_NE(after, std::string::npos);
  EXPECT_NE(page.find("<text x=\"120\" y=\"79.5\"", after), std::string::npos);
  EXPECT_EQ(page.find("<text x=\"72\" y=\"79.5\"", after), std::string::npos);
  EXPECT_NE(page.find(">Before<"), std::string::npos);
  EXPECT_NE(page.find(">After<"), std::string::npos);
}

TEST(HelpGenerator, ShowsTheMarkOfARefusedPush) {
  std::string page;
  // The tile runs into the inner wall at (3, 2): the bar of a tile moving right,
  // on the left side of that cell (8..16 across, 8..40 down).
  ASSERT_EQ(Generate("<!--@board\nsize 5 3\ngrid\n## ## ## ## ##\n##  1 ## .. ##\n## ## ## ## ##\nend\n@push 2 2 right\n-->",
                     page),
            0);
  EXPECT_NE(page.find("M104,56 H112 V88 H104 Z"), std::string::npos);
  EXPECT_NE(page.find(">Refused<"), std::string::npos);
  EXPECT_EQ(page.find("translate(304,0)"), std::string::npos);  // no picture after it
}

TEST(HelpGenerator, RefusesABrokenSource) {
  std::string page;
  EXPECT_NE(Generate("<p>x</p>\n<!--@board\ngrid\n## ##\nend\n-->", page), 0);  // no size
  EXPECT_NE(Generate("<!--@board\nsize 3 3\ngrid\n## ## ##\n## 1 ##\n## ## ##\nend\n@push 2 2 sideways\n-->", page), 0);
  EXPECT_NE(Generate("<!--@nothing-->", page), 0);
  EXPECT_NE(Generate("<!--@board\nsize 3 3", page), 0);  // never closed
}
