// Copies every file of a folder into a target folder, one SHFileOperationA call per
// file with the options of the program's own copies, and prints how long the calls
// took in milliseconds. That is what the platform's copy call alone needs for a backup
// of the same files: the floor under the program's cost per item, which goes through
// the same call.
//   ShellCopyLoop.exe SOURCE_FOLDER TARGET_FOLDER (the target with its closing backslash)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ShellCopyLoop SOURCE_FOLDER TARGET_FOLDER\\\n");
        return 2;
    }
    const std::string source = argv[1];
    std::vector<std::string> files;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((source + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(source + "\\" + entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    std::string to = argv[2];
    to += '\0';
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    int failed = 0;
    for (const auto& file : files) {
        std::string from = file;
        from += '\0';
        SHFILEOPSTRUCTA op{};
        op.wFunc = FO_COPY;
        op.pFrom = from.c_str();
        op.pTo = to.c_str();
        // Undoable, no confirmation, folders made unasked, silent: as the program copies.
        op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_SILENT;
        op.lpszProgressTitle = "";
        if (SHFileOperationA(&op) != 0) ++failed;
    }
    QueryPerformanceCounter(&end);
    if (failed) std::fprintf(stderr, "%d copies failed\n", failed);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart));
    return failed ? 1 : 0;
}
