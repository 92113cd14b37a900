#include "media/bad_files.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace BadFiles {

fs::path realAssets() {
  return fs::path(TARNWICK_SOURCE_DIR) / "assets";
}

void writeTruncated(const fs::path& source, const fs::path& target) {
  std::ifstream in(source, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::ofstream(target, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
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
