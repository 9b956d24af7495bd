// helpmap: gives a WinHelp file written by halibut the context numbers a program asks
// for with HELP_CONTEXT. halibut names topics (\cfg{winhelp-topic}) but leaves the
// number map |CTXOMAP empty, and a viewer then finds no topic for a number.
//   helpmap <in.hlp> <out.hlp> <number>=<topic name> ...
// Every topic name must be in the file's |CONTEXT table: a name that is not fails the
// build, so a renamed topic cannot leave the program's help call pointing nowhere.
// The new map is appended as an internal file and the directory entry points at it.

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
    Put32(hlp, 12, uint32_t(hlp.size()));

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(hlp.data()), std::streamsize(hlp.size()));
    if (!out) Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
