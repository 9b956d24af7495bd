// Whether a copy really holds what was copied. The shell's file operation can answer
// success for a copy that a full disk cut short or that a locked older file kept from
// being written, so every copy the program vouches for is read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace win {

// What a check saw of a file or a folder: the bytes and a CRC-32 over them. For a
// folder, the CRC runs over every file below it in name order, each file's path
// relative to the folder and a NUL ahead of its content, so that a renamed or moved
// file changes it too; the size is the sum of the files' sizes.
struct ContentSummary {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    friend bool operator==(const ContentSummary&, const ContentSummary&) = default;
};

// The CRC-32 of zip and PNG, continued from crc over data.
std::uint32_t UpdateCrc32(std::uint32_t crc, const void* data, std::size_t size) noexcept;

// The summary of what lies at path now; none when it is missing or cannot be read whole.
std::optional<ContentSummary> Summarize(const std::string& path);

// The summary of what lies at path, taken over what model holds: for a file, path's
// bytes; for a folder, the files at the places below path where model has files (path
// may hold more). None when one of them is missing at path or cannot be read. A copy
// merged into a folder that held other files is checked this way against the summary
// of what was copied.
std::optional<ContentSummary> SummarizeLike(const std::string& path, const std::string& model);

// Checks a copy against its source: a file's copy must have the same bytes; for a
// folder, every file and folder below the source must have such a copy at the same
// place below copy (the copy may hold more). Answers the summary of the copy, or none
// when any part differs, is missing or cannot be read. Each side is read once.
std::optional<ContentSummary> VerifyCopy(const std::string& source, const std::string& copy);

} // namespace win
