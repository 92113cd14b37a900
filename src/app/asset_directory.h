#pragma once

// Where the game's data is when the game is not started beside it. The asset list and every
// file it names are read relative to the working directory, so the game changes into the first
// place that holds the list: the working directory itself, the source tree the program was
// built from (when it runs from its build tree), or the data directory it was installed with.

#include <string>
#include <vector>

class AssetDirectory {
 public:
  // The places to look for a program whose executable is in `programDirectory` (empty when
  // unknown: then only the working directory).
  explicit AssetDirectory(const std::string& programDirectory);
  // The same for the running program.
  static AssetDirectory ofThisProgram();

  // Changes into the first place that holds the asset list; false when none does, and the
  // working directory stays as it was.
  bool enter() const;
  // For standard error when no place holds the list: where it was looked for and how to start
  // the game.
  std::string whereLooked() const;

 private:
  struct Place {
    std::string description;
    std::string directory;
  };
  std::vector<Place> places_;
};
