#include "win/ContentCheck.h"

#include "win/Handles.h"
#include "win/Files.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace win {

namespace {

// Eight tables, so that the check takes eight bytes a step ("slicing by eight"): table
// k gives the CRC of a byte followed by k zero bytes. A byte a step made the check of a
// large folder cost as much as reading it.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables()
{
    CrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

// Large blocks keep the check near the cost of one sequential read of each side.
constexpr DWORD kBlock = 256 * 1024;

// Grown to the largest block a check has needed, and never cleared: a read overwrites
// it. A backup checks thousands of small files, and a fresh, zeroed pair of full blocks
// for each cost more than reading the files.
class Buffers {
public:
    void Reserve(std::uint64_t fileSize)
    {
        const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(fileSize, kBlock));
        if (n <= size_) return;
        a_ = std::make_unique_for_overwrite<char[]>(n);
        b_ = std::make_unique_for_overwrite<char[]>(n);
        size_ = n;
    }
    char* A() const noexcept { return a_.get(); }
    char* B() const noexcept { return b_.get(); }

private:
    std::unique_ptr<char[]> a_, b_;
    DWORD size_ = 0;
};

class Summer {
public:
    void Path(const std::string& relative)
    {
        crc_ = UpdateCrc32(crc_, relative.data(), relative.size());
        crc_ = UpdateCrc32(crc_, "", 1);
    }
    void Bytes(const char* data, DWORD n)
    {
        crc_ = UpdateCrc32(crc_, data, n);
        size_ += n;
    }
    ContentSummary Result() const { return {size_, crc_}; }

private:
    std::uint32_t crc_ = 0;
    std::uint64_t size_ = 0;
};

struct Entry {
    std::string name;
    std::string key;  // the name as the file system compares it
    bool folder = false;
};

// The entries of a folder in one fixed order, so that a summary taken at backup time
// and one taken at restore time run over the files in the same sequence.
std::optional<std::vector<Entry>> List(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((WithTrailingBackslash(folder) + "*").c_str(), &fd));
    std::vector<Entry> entries;
    if (!find) {
        // A root folder lists no "." or "..": empty is an answer, anything else is not.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
        return std::nullopt;
    }
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        std::string key = name;
        CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
        entries.push_back({name, std::move(key), (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(find.get(), &fd));
    if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& x, const Entry& y) { return x.key != y.key ? x.key < y.key : x.name < y.name; });
    return entries;
}

UniqueFile OpenForReading(const std::string& path)
{
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

std::optional<std::uint64_t> SizeOf(HANDLE file)
{
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Reads up to want bytes; a short read before the end the size promised is a failure.
bool ReadBlock(HANDLE file, char* buf, DWORD want)
{
    DWORD got = 0;
    return ReadFile(file, buf, want, &got, nullptr) && got == want;
}

bool SummarizeFile(const std::string& path, Summer& sum, Buffers& buf)
{
    UniqueFile file = OpenForReading(path);
    if (!file) return false;
    auto size = SizeOf(file.get());
    if (!size) return false;
    buf.Reserve(*size);
    for (std::uint64_t left = *size; left > 0;) {
        const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(left, kBlock));
        if (!ReadBlock(file.get(), buf.A(), n)) return false;
        sum.Bytes(buf.A(), n);
        left -= n;
    }
    return true;
}

bool CompareFiles(const std::string& source, const std::string& copy, Summer& sum, Buffers& buf)
{
    UniqueFile src = OpenForReading(source);
    UniqueFile dst = OpenForReading(copy);
    if (!src || !dst) return false;
    auto size = SizeOf(src.get());
    if (!size || SizeOf(dst.get()) != size) return false;
    buf.Reserve(*size);
    for (std::uint64_t left = *size; left > 0;) {
        const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(left, kBlock));
        if (!ReadBlock(src.get(), buf.A(), n) || !ReadBlock(dst.get(), buf.B(), n)) return false;
        if (std::memcmp(buf.A(), buf.B(), n) != 0) return false;
        sum.Bytes(buf.B(), n);
        left -= n;
    }
    return true;
}

// Summarises the files below folder that model lists (model is folder itself for a
// plain summary), in model's order and under model's names.
bool SummarizeFolder(const std::string& folder, const std::string& model, const std::string& relative, Summer& sum,
                     Buffers& buf)
{
    auto entries = List(model);
    if (!entries) return false;
    for (const Entry& e : *entries) {
        const std::string path = WithTrailingBackslash(folder) + e.name;
        const std::string rel = relative + e.name;
        if (e.folder) {
            if (!SummarizeFolder(path, WithTrailingBackslash(model) + e.name, rel + "\\", sum, buf)) return false;
        } else {
            sum.Path(rel);
            if (!SummarizeFile(path, sum, buf)) return false;
        }
    }
    return true;
}

bool SummarizeFolder(const std::string& folder, const std::string& relative, Summer& sum, Buffers& buf)
{
    return SummarizeFolder(folder, folder, relative, sum, buf);
}

// Walks the copy in summary order and the source beside it: a file of both sides is
// compared while the copy's bytes go into the summary; what only the copy has is
// summarised; what only the source has fails the check.
bool VerifyFolder(const std::string& source, const std::string& copy, const std::string& relative, Summer& sum,
                  Buffers& buf)
{
    auto sources = List(source);
    auto copies = List(copy);
    if (!sources || !copies) return false;
    // Both lists are in key order: one pass pairs them.
    auto s = sources->begin();
    for (const Entry& c : *copies) {
        // A name only the source has: the copy is incomplete.
        if (s != sources->end() && s->key < c.key) return false;
        const std::string copyPath = WithTrailingBackslash(copy) + c.name;
        const std::string rel = relative + c.name;
        if (s == sources->end() || s->key != c.key) {
            if (c.folder ? !SummarizeFolder(copyPath, rel + "\\", sum, buf)
                         : (sum.Path(rel), !SummarizeFile(copyPath, sum, buf)))
                return false;
            continue;
        }
        if (s->folder != c.folder) return false;
        const std::string sourcePath = WithTrailingBackslash(source) + s->name;
        ++s;
        if (c.folder) {
            if (!VerifyFolder(sourcePath, copyPath, rel + "\\", sum, buf)) return false;
        } else {
            sum.Path(rel);
            if (!CompareFiles(sourcePath, copyPath, sum, buf)) return false;
        }
    }
    return s == sources->end();
}

enum class Kind { Missing, File, Folder };

Kind KindOf(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
    return a & FILE_ATTRIBUTE_DIRECTORY ? Kind::Folder : Kind::File;
}

} // namespace

std::uint32_t UpdateCrc32(std::uint32_t crc, const void* data, std::size_t size) noexcept
{
    auto p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (; size >= 8; p += 8, size -= 8) {
        const std::uint32_t lo = crc ^ (p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
        crc = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^ kCrc[4][lo >> 24] ^
              kCrc[3][p[4]] ^ kCrc[2][p[5]] ^ kCrc[1][p[6]] ^ kCrc[0][p[7]];
    }
    for (; size > 0; ++p, --size) crc = kCrc[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::optional<ContentSummary> Summarize(const std::string& path)
{
    Buffers buf;
    Summer sum;
    switch (KindOf(path)) {
    case Kind::File:
        if (!SummarizeFile(path, sum, buf)) return std::nullopt;
        break;
    case Kind::Folder:
        if (!SummarizeFolder(path, "", sum, buf)) return std::nullopt;
        break;
    case Kind::Missing: return std::nullopt;
    }
    return sum.Result();
}

std::optional<ContentSummary> SummarizeLike(const std::string& path, const std::string& model)
{
    const Kind kind = KindOf(model);
    if (kind == Kind::Missing || KindOf(path) != kind) return std::nullopt;
    Buffers buf;
    Summer sum;
    const bool read = kind == Kind::File ? SummarizeFile(path, sum, buf) : SummarizeFolder(path, model, "", sum, buf);
    if (!read) return std::nullopt;
    return sum.Result();
}

std::optional<ContentSummary> VerifyCopy(const std::string& source, const std::string& copy)
{
    const Kind kind = KindOf(source);
    if (kind == Kind::Missing || KindOf(copy) != kind) return std::nullopt;
    Buffers buf;
    Summer sum;
    const bool same = kind == Kind::File ? CompareFiles(source, copy, sum, buf) : VerifyFolder(source, copy, "", sum, buf);
    if (!same) return std::nullopt;
    return sum.Result();
}

} // namespace win
