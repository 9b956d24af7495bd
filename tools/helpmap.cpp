// helpmap: gives a WinHelp file written by halibut the context numbers a program asks
// for with HELP_CONTEXT. halibut names topics (\cfg{winhelp-topic}) but leaves the
// number map |CTXOMAP empty, and a viewer then finds no topic for a number.
//   helpmap <in.hlp> <out.hlp> <number>=<topic name> ...
// Every topic name must be in the file's |CONTEXT table: a name that is not fails the
// build, so a renamed topic cannot leave the program's help call pointing nowhere.
// The new map is appended as an internal file and the directory entry points at it.
// It also gives the viewer's main window ("main") the help's title (\title) as its
// caption, which halibut leaves to the viewer: Wine's then reads "Wine Help". The
// |SYSTEM file is appended again with that window record added.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "helpmap: %s\n", what.c_str());
    std::exit(1);
}

uint32_t U32(const Bytes& b, size_t at)
{
    if (at + 4 > b.size()) Fail("file too short");
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const Bytes& b, size_t at)
{
    if (at + 2 > b.size()) Fail("file too short");
    return uint16_t(b[at] | b[at + 1] << 8);
}
void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void Append32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// The hash under which WinHelp files a topic name in |CONTEXT.
int32_t TopicHash(const std::string& name)
{
    uint32_t hash = 0;
    for (char c : name) {
        unsigned x = 0;
        if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
        if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
        if (c >= '1' && c <= '9') x = c - '0';
        if (c == '0') x = 10;
        if (c == '.') x = 12;
        if (c == '_') x = 13;
        if (x) hash = hash * 43 + x;
    }
    return int32_t(hash);
}

// An internal file starts with its reserved size, its used size and a flag byte; a
// B+ tree follows with a 38-byte header. Both trees read here have one leaf level in
// the files halibut writes for a help of this size.
constexpr size_t kFileHeader = 9;
constexpr size_t kTreeHeader = 38;

size_t LeafPage(const Bytes& b, size_t file)
{
    if (U16(b, file + kFileHeader) != 0x293B) Fail("not a B+ tree");
    const size_t pageSize = U16(b, file + kFileHeader + 4);
    const size_t root = U16(b, file + kFileHeader + 26);
    if (U16(b, file + kFileHeader + 32) != 1) Fail("tree with more than one level");
    return file + kFileHeader + kTreeHeader + root * pageSize;
}

// The directory entry's offset field of an internal file.
size_t DirectorySlot(const Bytes& b, const std::string& name)
{
    size_t page = LeafPage(b, U32(b, 4));
    const int entries = int16_t(U16(b, page + 2));
    size_t at = page + 8;
    for (int i = 0; i < entries; ++i) {
        std::string entry;
        while (at < b.size() && b[at]) entry += char(b[at++]);
        ++at;
        if (entry == name) return at;
        at += 4;
    }
    Fail("no internal file " + name);
}

uint32_t TopicOffset(const Bytes& b, const std::string& topic)
{
    const size_t context = U32(b, DirectorySlot(b, "|CONTEXT"));
    const size_t page = LeafPage(b, context);
    const int entries = int16_t(U16(b, page + 2));
    const int32_t hash = TopicHash(topic);
    for (int i = 0; i < entries; ++i)
        if (int32_t(U32(b, page + 8 + 8 * i)) == hash) return U32(b, page + 8 + 8 * i + 4);
    Fail("no topic named " + topic);
}

// The text of the |SYSTEM record of a type, or empty. Records follow the 12-byte header.
std::string SystemRecord(const Bytes& b, size_t system, uint16_t type)
{
    const size_t end = system + kFileHeader + U32(b, system + 4);
    for (size_t at = system + kFileHeader + 12; at + 4 <= end; at += 4 + U16(b, at + 2)) {
        if (U16(b, at) != type) continue;
        std::string text;
        for (size_t i = at + 4; i < end && b[i]; ++i) text += char(b[i]);
        return text;
    }
    return {};
}

// |SYSTEM again, with a window record that names the main window and gives it caption.
Bytes SystemWithMainWindow(const Bytes& b, size_t system, const std::string& caption)
{
    // The record: flags (name and caption given), type[10], name[9], caption[51], then
    // position, size, state and colours, all left to the viewer.
    constexpr size_t kWindowRecord = 90, kName = 2 + 10, kCaption = kName + 9, kCaptionMax = 50;
    if (caption.size() > kCaptionMax) Fail("title longer than a window caption: " + caption);
    Bytes record(4 + kWindowRecord, 0);
    record[0] = 6;
    record[2] = uint8_t(kWindowRecord);
    record[4] = 0x02 | 0x04;
    const std::string name = "main";
    std::copy(name.begin(), name.end(), record.begin() + 4 + kName);
    std::copy(caption.begin(), caption.end(), record.begin() + 4 + kCaption);

    const uint32_t used = U32(b, system + 4);
    Bytes file(b.begin() + long(system) + long(kFileHeader), b.begin() + long(system + kFileHeader + used));
    file.insert(file.end(), record.begin(), record.end());
    Bytes out;
    Append32(out, uint32_t(file.size() + kFileHeader));
    Append32(out, uint32_t(file.size()));
    out.push_back(0);
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) Fail("usage: helpmap <in.hlp> <out.hlp> <number>=<topic> ...");
    std::ifstream in(argv[1], std::ios::binary);
    Bytes hlp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (hlp.size() < 16 || U32(hlp, 0) != 0x00035F3F) Fail(std::string(argv[1]) + " is no WinHelp file");

    std::vector<std::pair<uint32_t, uint32_t>> map;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) Fail("bad mapping " + arg);
        map.emplace_back(uint32_t(std::stoul(arg.substr(0, eq))), TopicOffset(hlp, arg.substr(eq + 1)));
    }

    Bytes file;
    const uint32_t used = uint32_t(2 + 8 * map.size());
    Append32(file, used + kFileHeader);
    Append32(file, used);
    file.push_back(0);
    file.push_back(uint8_t(map.size()));
    file.push_back(uint8_t(map.size() >> 8));
    for (const auto& [number, offset] : map) {
        Append32(file, number);
        Append32(file, offset);
    }
    const size_t at = hlp.size();
    hlp.insert(hlp.end(), file.begin(), file.end());
    Put32(hlp, DirectorySlot(hlp, "|CTXOMAP"), uint32_t(at));

    const size_t system = U32(hlp, DirectorySlot(hlp, "|SYSTEM"));
    const std::string title = SystemRecord(hlp, system, 1);
    if (title.empty()) Fail("the help has no title");
    const Bytes newSystem = SystemWithMainWindow(hlp, system, title);
    const size_t systemAt = hlp.size();
    hlp.insert(hlp.end(), newSystem.begin(), newSystem.end());
    Put32(hlp, DirectorySlot(hlp, "|SYSTEM"), uint32_t(systemAt));
    Put32(hlp, 12, uint32_t(hlp.size()));

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(hlp.data()), std::streamsize(hlp.size()));
    if (!out) Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
