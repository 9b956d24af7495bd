// The backup record "ABackUp.log": an initialisation file beside the copies that names
// each copy and the folder it came from. Written and read one value at a time through
// the platform's profile-file calls, so an older record is updated in place.
#pragma once

#include "win/BackgroundJob.h"
#include "win/ContentCheck.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kRecordName = "ABackUp.log";

class TBackupRecord {
public:
    // Binds the path; no file is touched until the first write.
    explicit TBackupRecord(std::string path);
    TBackupRecord(const TBackupRecord&) = delete;
    TBackupRecord& operator=(const TBackupRecord&) = delete;

    const std::string& Path() const noexcept { return path_; }

    // Raise "Kann nicht nach <path> schreiben" when the platform refuses the write.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& key, int value) const;
    // Replaces a whole section with key=value lines in one write.
    void WriteSection(const std::string& section, const std::vector<std::string>& lines) const;

    // Never fail: a missing file, section or key gives the default. Values are cut to
    // 1023 characters; a value beginning "0x" is read as hexadecimal.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;

private:
    std::string path_;
};

// The entries of one backup run. The platform rewrites the whole file on every value
// written, so writing each entry as it comes would make every entry cost more than
// the one before; the entries are kept here and written a section at a time instead,
// at most about once a second, in an order that leaves a usable record whenever the
// run stops: what "Count" promises is always written before "Count" itself. The
// writes during the run go on a thread of their own, beside the copying.
class TRecordEntries {
public:
    // Empties the entry sections first: an older, longer record in the same folder must
    // not mix its entries with this run's if the run stops half-way. Marks the record as
    // one whose every entry carries its check.
    explicit TRecordEntries(const TBackupRecord& record);
    TRecordEntries(const TRecordEntries&) = delete;
    TRecordEntries& operator=(const TRecordEntries&) = delete;

    // name: the copy's name in the record's Drive folder; folder: where it came from; check:
    // what the copy held when it was checked. The DOS spellings of both are added where
    // the platform gives them.
    void Add(const std::string& name, const std::string& folder, const win::ContentSummary& check);
    int Count() const noexcept { return static_cast<int>(names_.size()); }
    // Starts a write when enough time has passed since the last one; raises the error
    // of an earlier write that failed.
    void WriteIfDue();
    // Writes every entry and the count, once any write still running has ended.
    void Write();

private:
    // What one write puts into the record, taken at one moment of the run.
    struct Snapshot {
        const TBackupRecord* record = nullptr;
        std::vector<std::pair<const char*, std::vector<std::string>>> sections;
        unsigned long started = 0, ended = 0;
        std::string error;  // what a write the platform refused raised
        void WriteAll();
        static void Run(void* self);
    };
    // key=value lines; a value that is empty is left out unless keepEmpty.
    std::vector<std::string> Section(const std::vector<std::string>& values, bool keepEmpty = true) const;
    void Take(Snapshot& snapshot);
    // Waits for the write that runs, takes its times and raises its error.
    void Collect();

    const TBackupRecord& record_;
    std::vector<std::string> names_, folders_, checks_;
    // Empty where the platform gives no short name; the folder's is asked once per run
    // of entries from the same folder.
    std::vector<std::string> dosNames_, dosFolders_;
    std::string copyFolder_;
    std::optional<bool> copyFolderReachable_;  // from DOS, asked with the first entry
    std::string lastFolder_, lastDosFolder_;
    int written_ = -1;
    unsigned long lastWrite_ = 0;
    unsigned long writeCost_ = 0;
    Snapshot inWriting_;
    // Declared last, so that a write still running ends before anything it reads goes.
    win::BackgroundJob writer_;
};

// The section holding what each entry's copy held when it was made, in keys that
// readers of older records never ask for: "<size>,<CRC-32 in 8 hex digits>".
inline constexpr const char* kChecksSection = "Checks";
std::string FormatCheck(const win::ContentSummary& check);
std::optional<win::ContentSummary> ParseCheck(const std::string& text);

// In [Target]: "1" when every entry of the record carries its check, so that an entry
// without one is known to be cut or edited. Older readers ignore the key.
inline constexpr const char* kChecksMark = "Checks";

// The name under which the record's reader finds a copy: its short alias, for tools
// that read the backup from DOS, or its name when it has none.
std::string RecordedName(const std::string& copy, const std::string& name);

// The sections that give the rescue floppy's DOS program each entry's copy and folder
// as DOS reaches them: 8.3 spellings in the OEM code page. Readers of older records
// never ask for them.
inline constexpr const char* kDosFilesSection = "DosFiles";
inline constexpr const char* kDosDirsSection = "DosDirs";
// The 8.3 spelling of an existing path in the OEM code page; empty when there is none.
std::string DosSpelling(const std::string& path);
// One name in the DOS code page, where it is a DOS name; empty where it is not.
std::string DosName(const std::string& name);

// A record value as an integer: decimal, or hexadecimal after "0x"; false when it is no
// number or does not fit.
bool ParseRecordInteger(const std::string& text, int& value);
