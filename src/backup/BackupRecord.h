// The backup record "ABackUp.log": an initialisation file beside the copies that names
// each copy and the folder it came from. Written and read one value at a time through
// the platform's profile-file calls, so an older record is updated in place.
#pragma once

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

    // Never fail: a missing file, section or key gives the default. Values are cut to
    // 1023 characters; a value beginning "0x" is read as hexadecimal.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;

    // The numbered keys (0, 1, 2, ... as the writer spells them) present in a section.
    std::vector<int> NumberedKeys(const std::string& section) const;

private:
    std::string path_;
};

// A record value as an integer: decimal, or hexadecimal after "0x"; false when it is no
// number or does not fit.
bool ParseRecordInteger(const std::string& text, int& value);
