// Whether a copy really holds what was copied. The shell's file operation can answer
// success for a copy that a full disk cut short or that a locked older file kept from
// being written, so every copy the program vouches for is read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

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

// The summary of what lies at path now; none when it is missing or cannot be read whole.
std::optional<ContentSummary> Summarize(const std::string& path);

// The summary of what lies at path, taken over what model holds: for a file, path's
// bytes; for a folder, the files at the places below path where model has files (path
// may hold more). None when one of them is missing at path or cannot be read. A copy
// merged into a folder that held other files is checked this way against the summary
// of what was copied.
std::optional<ContentSummary> SummarizeLike(const std::string& path, const std::string& model);

// What each file below a folder held, by its full path: taken while the shell copies
// the folder, on the core the copy leaves free, so that the check afterwards need read
// only the copy. A file that could not be read is left out.
struct SourcePrint {
    std::unordered_map<std::wstring, ContentSummary> files;
};

// Reads every file below folder on the calling thread, one after the other.
SourcePrint PrintOf(const std::string& folder);

// The print of folder as a job for a BackgroundJob, started before the shell's copy and
// waited for before the check. Where the print itself fails (no memory), it is empty,
// and the check compares every file with its source.
struct PrintJob {
    std::string folder;
    SourcePrint print;
    static void Run(void* self) noexcept;
};

// Checks a copy against its source: a file's copy must have the same bytes; for a
// folder, every file and folder below the source must have such a copy at the same
// place below copy (the copy may hold more). Answers the summary of the copy, or none
// when any part differs, is missing or cannot be read. Each side is read once.
// With a print of the source, a copied file that sums to what the print holds for its
// source passes without its source being read again: it holds what the source held
// while it was copied. One the print lacks or that sums otherwise is compared byte by
// byte as without a print.
std::optional<ContentSummary> VerifyCopy(const std::string& source, const std::string& copy,
                                         const SourcePrint* print = nullptr);

} // namespace win
