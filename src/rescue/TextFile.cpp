#include "rescue/TextFile.h"

#include "win/Error.h"

#include <utility>

namespace {

constexpr int kFileNotOpen = 103;
constexpr int kDiskWriteError = 101;

} // namespace

TTextFile::TTextFile(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr))
{
    if (!file_) status_ = static_cast<int>(GetLastError());
}

void TTextFile::WriteLn(const std::string& line)
{
    if (!file_) {
        if (status_ == 0) status_ = kFileNotOpen;
        return;
    }
    buffer_ += line;
    buffer_ += "\r\n";
}

int TTextFile::IOResult() { return std::exchange(status_, 0); }

void TTextFile::Close()
{
    if (!file_) throw win::Error(ErrorMessage(kFileNotOpen));
    int error = 0;
    DWORD written = 0;
    if (!buffer_.empty()) {
        if (!WriteFile(file_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr))
            error = static_cast<int>(GetLastError());
        else if (written != buffer_.size())
            error = kDiskWriteError;
    }
    buffer_.clear();
    file_.reset();
    if (error) throw win::Error(ErrorMessage(error));
}

std::string TTextFile::ErrorMessage(int code)
{
    switch (code) {
    case 2: return "Datei nicht gefunden";
    case 3: return "Ungültiger Dateiname";
    case 4: return "Zu viele Dateien geöffnet";
    case 5: return "Dateizugriff verweigert";
    default: return "I/O-Fehler " + std::to_string(code);
    }
}
