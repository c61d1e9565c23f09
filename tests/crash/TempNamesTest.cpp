// The names of the temporary files a record write makes: a kill may come at any
// instant after one is created, so each of them must be a name the start-up sweep
// takes away again, or the folder keeps it for good.
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/RecordFile.h"

namespace fs = std::filesystem;

namespace {

// The names of the files created in the folder since the last call.
class CreationWatch {
 public:
  explicit CreationWatch(const std::string& folder) : Fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (Fd < 0 || ::inotify_add_watch(Fd, folder.c_str(), IN_CREATE) < 0) throw std::runtime_error("no inotify");
  }
  ~CreationWatch() { ::close(Fd); }
  CreationWatch(const CreationWatch&) = delete;
  CreationWatch& operator=(const CreationWatch&) = delete;

  void Collect(std::set<std::string>& names) {
    alignas(inotify_event) char buf[1 << 16];
    ssize_t n;
    while ((n = ::read(Fd, buf, sizeof buf)) > 0) {
      for (char* p = buf; p < buf + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->mask & IN_Q_OVERFLOW) throw std::runtime_error("inotify queue overflow");
        if (e->len > 0) names.insert(e->name);
        p += sizeof(inotify_event) + e->len;
      }
    }
  }

 private:
  int Fd;
};

// In memory when the system has such a folder: the writes then cost no disk time.
struct TempFolder {
  TempFolder() {
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    std::string t = (base / "pavilore-tempnames-XXXXXX").string();
    if (!::mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
    Path = t;
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  fs::path Path;
};

}  // namespace

TEST(WriteRecordFile, EveryTemporaryFileItCreatesIsOneTheStartUpSweepTakes) {
  const TempFolder folder;
  const fs::path& dir = folder.Path;
  const std::string target = (dir / "Pavilore.CFG").string();
  // About one random six-letter name in a hundred has no digit and one case only;
  // a thousand writes see such names if the writer ever creates them.
  std::set<std::string> created;
  {
    CreationWatch watch(dir.string());
    const std::string record(64, 'r');
    for (int i = 0; i < 1000; ++i) {
      pav::WriteRecordFile(target, record.data(), record.size());
      if (i % 100 == 99) watch.Collect(created);
    }
    watch.Collect(created);
  }
  created.erase("Pavilore.CFG");
  ASSERT_GE(created.size(), 1000u);
  // Each name again, as a kill right after its creation would leave it, an hour old.
  for (const auto& name : created) {
    std::ofstream(dir / name) << "left";
    fs::last_write_time(dir / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  pav::RemoveWriteLeftovers(dir.string());
  std::vector<std::string> kept;
  for (const auto& e : fs::directory_iterator(dir)) kept.push_back(e.path().filename().string());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, std::vector<std::string>{"Pavilore.CFG"});
}
