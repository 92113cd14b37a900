#pragma once

// Asset files gone bad, made from the game's real assets: pictures that are not images or are
// cut short, sounds that are not audio or are cut short, files that are not there at all.

#include <cstddef>
#include <filesystem>
#include <string>

namespace BadFiles {

// The game's own assets/ directory in the source tree.
std::filesystem::path realAssets();

// Writes the first half of `source` to `target`.
void writeTruncated(const std::filesystem::path& source, const std::filesystem::path& target);
// Writes the first `bytes` bytes of `source` to `target`.
void writeStart(const std::filesystem::path& source, const std::filesystem::path& target,
                size_t bytes);
// Writes a line of plain text to `target`: neither a picture nor a sound.
void writeText(const std::filesystem::path& target);

// The line the game logs for a picture at `path` that cannot be read, up to SDL's reason.
std::string pictureErrorStart();
std::string pictureErrorEnd(const std::string& path);
// The line the game logs for a sound at `path` that cannot be opened or decoded.
std::string soundError(const std::string& path);

}  // namespace BadFiles
