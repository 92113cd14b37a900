#include "media/bad_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace BadFiles {

fs::path realAssets() {
  return fs::path(TARNWICK_SOURCE_DIR) / "assets";
}

namespace {

std::vector<char> contentsOf(const fs::path& source) {
  std::ifstream in(source, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void writeStart(const fs::path& source, const fs::path& target, size_t bytes) {
  const std::vector<char> contents = contentsOf(source);
  std::ofstream(target, std::ios::binary | std::ios::trunc)
      .write(contents.data(), static_cast<std::streamsize>(std::min(bytes, contents.size())));
}

void writeTruncated(const fs::path& source, const fs::path& target) {
  writeStart(source, target, fs::file_size(source) / 2);
}

void writeText(const fs::path& target) {
  std::ofstream(target, std::ios::trunc) << "neither a picture nor a sound\n";
}

std::string pictureErrorStart() {
  return "Load Image error(";
}

std::string pictureErrorEnd(const std::string& path) {
  return ") while loading:" + path + "\n";
}

std::string soundError(const std::string& path) {
  return "Loading " + path + " error!\n";
}

}  // namespace BadFiles
