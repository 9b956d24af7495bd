// Reads a backup record of N entries, as a restore does before its first copy, and
// prints how long the reading took in milliseconds. The record is written first as a
// backup's writer lays it out ([Target] with the checks mark, [Files], [Dirs], [Checks]).
//   RecordRead.exe RECORD N ours       the program's reader: every section once, whole,
//                                      and every entry checked
//   RecordRead.exe RECORD N sections   the platform's GetPrivateProfileSectionA for the
//                                      same four sections
//   RecordRead.exe RECORD N keys       the platform key by key, as restores read before:
//                                      the key list, then name, folder and check of each
#include "backup/RecordReader.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void WriteRecord(const std::string& path, int n)
{
    std::string files = "[Files]\r\n", dirs = "[Dirs]\r\n", checks = "[Checks]\r\n";
    char line[128];
    for (int i = 0; i < n; ++i) {
        std::snprintf(line, sizeof line, "%d=F%07d.DAT\r\n", i, i);
        files += line;
        std::snprintf(line, sizeof line, "%d=C:\\Daten\\Ordner%03d\r\n", i, i % 500);
        dirs += line;
        std::snprintf(line, sizeof line, "%d=%d,%08X\r\n", i, 4096 + i, static_cast<unsigned>(i * 2654435761u));
        checks += line;
    }
    const std::string text = "[Target]\r\nDrive=C:\\Sicherung\\\r\nChecks=1\r\n" + files + "Count=" +
                             std::to_string(n) + "\r\n" + dirs + checks;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (f == INVALID_HANDLE_VALUE || !WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(2);
    }
    CloseHandle(f);
}

// What each way of reading found, so that no reading can be skipped as unused.
size_t Sections(const std::string& path)
{
    size_t total = 0;
    std::vector<char> buf(64u << 20);
    for (const char* section : {"Target", "Files", "Dirs", "Checks"})
        total += GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
    return total;
}

size_t KeyByKey(const std::string& path)
{
    std::vector<char> keys(16u << 20);
    const DWORD n = GetPrivateProfileStringA("Files", nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                             path.c_str());
    size_t total = 0;
    char value[1024];
    for (DWORD pos = 0; pos < n;) {
        const std::string key = keys.data() + pos;
        pos += static_cast<DWORD>(key.size()) + 1;
        for (const char* section : {"Files", "Dirs", "Checks"})
            total += GetPrivateProfileStringA(section, key.c_str(), "", value, sizeof value, path.c_str());
    }
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: RecordRead RECORD N ours|sections|keys\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::string how = argv[3];
    WriteRecord(path, std::atoi(argv[2]));
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    size_t found = 0;
    if (how == "ours") found = backup::ReadRecord(path).entries.size();
    else if (how == "sections") found = Sections(path);
    else found = KeyByKey(path);
    QueryPerformanceCounter(&end);
    if (found == 0) {
        std::fprintf(stderr, "nothing read\n");
        return 1;
    }
    std::printf("%.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / freq.QuadPart);
    return 0;
}
