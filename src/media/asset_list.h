#pragma once

// The asset list file, read and checked before anything is loaded: a JSON object whose members
// "bitmap" and "sound" map asset names to file names under assets/.

#include <istream>
#include <string>
#include <utility>
#include <vector>

class AssetList {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;  // name, file name

  // Reads the whole list. On any fault returns false and says in `error` what is wrong and
  // where, naming `sourceName`; `parsed` tells whether the text was JSON at all.
  bool read(std::istream& input, const std::string& sourceName, std::string& error);

  bool parsed() const { return parsed_; }
  // In ascending byte order of the names.
  const Entries& bitmaps() const { return bitmaps_; }
  const Entries& sounds() const { return sounds_; }

 private:
  bool parsed_ = false;
  Entries bitmaps_;
  Entries sounds_;
};
