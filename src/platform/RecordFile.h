// Whole-record game files: read one record, write one record atomically.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace pav {

// An input/output error on a named file: the game reports it in a message box
// naming the file and the reason.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(std::string file, std::string reason)
      : std::runtime_error(file + ": " + reason), File(std::move(file)), Reason(std::move(reason)) {}
  std::string File;
  std::string Reason;
};

// Reads the first `size` bytes of the file into `record`. A missing, unreadable or
// short file raises EInOutError and leaves `record` untouched. Bytes past the
// record are ignored.
void ReadRecordFile(const std::string& path, void* record, std::size_t size);

// Writes `size` bytes as the whole content of the file: a temporary file in the
// same folder is written, flushed and renamed over the old one, so the old file
// stays whole when anything fails. Raises EInOutError on failure.
void WriteRecordFile(const std::string& path, const void* record, std::size_t size);

// Removes what interrupted WriteRecordFile calls left in the folder: regular files
// named "<name>.<EXT>.XXXXXX", EXT being the extension of a game file the game
// writes (CFG, BRD, PZZ, CPN, SGM, in any case) and XXXXXX the temporary file's
// six letters and digits. Any other file stays, links are neither followed nor
// removed, and a file younger than WriteLeftoverMinAgeSeconds stays too, as another
// program of the game may be writing it. Errors are ignored.
void RemoveWriteLeftovers(const std::string& folder);
constexpr long WriteLeftoverMinAgeSeconds = 60;

template <class R>
void ReadRecord(const std::string& path, R& record) {
  ReadRecordFile(path, &record, sizeof record);
}
template <class R>
void WriteRecord(const std::string& path, const R& record) {
  WriteRecordFile(path, &record, sizeof record);
}

}  // namespace pav
