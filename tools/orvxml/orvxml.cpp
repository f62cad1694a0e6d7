// orvxml: checks XML files with the library's document engine and writes a
// parsed document back in another encoding.
//
//   orvxml check FILE...
//   orvxml format [--encoding NAME] [--indent N] FILE
//
// Exit codes: 0 success, 1 a file failed to parse, 2 usage error or a file
// that cannot be read.
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using Document = CExtensibleMarkupLanguageDocument;

constexpr int kExitOk = 0;
constexpr int kExitParseFailed = 1;
constexpr int kExitUsage = 2;

void PrintUsage(std::FILE* stream)
{
    std::fputs("usage: orvxml check FILE...\n"
               "       orvxml format [--encoding ascii|utf16le|utf16be|ucs4-1234|ucs4-4321|ucs4-2143|ucs4-3412]\n"
               "                     [--indent N] FILE\n",
        stream);
}

// Reads a whole file into bytes; false with a message on stderr when it
// cannot be opened or read, or is too large for a byte array.
bool ReadFile(const char* path, CByteArray& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "orvxml: cannot open %s: %s\n", path, std::strerror(errno));
        return false;
    }
    std::string data;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        data.append(buffer, count);
        if (data.size() > 0x7FFFFFFFu) {
            std::fclose(file);
            std::fprintf(stderr, "orvxml: %s is too large\n", path);
            return false;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "orvxml: cannot read %s\n", path);
        return false;
    }
    bytes.SetSize(int(data.size()));
    if (!data.empty()) {
        std::memcpy(bytes.GetData(), data.data(), data.size());
    }
    return true;
}

// Parses bytes into document; the parser owns a copy of the bytes only for
// the duration of the parse.
bool ParseInto(Document& document, const CByteArray& bytes)
{
    auto* copy = new CByteArray;
    copy->SetSize(bytes.GetSize());
    if (bytes.GetSize() > 0) {
        std::memcpy(copy->GetData(), bytes.GetData(), std::size_t(bytes.GetSize()));
    }
    CDataParser parser;
    parser.Initialize(copy, true);
    return document.Parse(parser);
}

// "FILE:LINE:COLUMN: MESSAGE [tag: TAG]" for the document's error record.
std::string DescribeError(const char* path, const Document& document)
{
    CString tag;
    CString message;
    CParsePoint beginning;
    CParsePoint location;
    document.GetParsingErrorInformation(tag, beginning, location, &message);
    std::string text = std::string(path) + ":" + std::to_string(location.GetLine()) + ":"
        + std::to_string(location.GetColumn()) + ": ";
    text += message.IsEmpty() ? std::string("the document could not be parsed") : std::string(message.GetString());
    if (!tag.IsEmpty()) {
        text += std::string(" [tag: ") + tag.GetString() + "]";
    }
    return text;
}

int Check(const std::vector<const char*>& files)
{
    if (files.empty()) {
        std::fputs("orvxml: check needs at least one file\n", stderr);
        PrintUsage(stderr);
        return kExitUsage;
    }
    int result = kExitOk;
    for (const char* path : files) {
        CByteArray bytes;
        if (!ReadFile(path, bytes)) {
            result = kExitUsage;
            continue;
        }
        Document document;
        if (ParseInto(document, bytes)) {
            std::printf("%s: OK\n", path);
        } else {
            std::printf("%s\n", DescribeError(path, document).c_str());
            if (result == kExitOk) {
                result = kExitParseFailed;
            }
        }
    }
    std::fflush(stdout);
    return result;
}

struct EncodingName {
    const char* name;
    DWORD options;
};

constexpr EncodingName kEncodings[] = {
    {"ascii", Document::writeSingleByte},
    {"utf16le", Document::writeUnicode},
    {"utf16be", Document::writeUnicode | Document::writeBigEndian},
    // The plain UCS-4 option writes the least significant byte first (4321);
    // with the big-endian option the most significant first (1234).
    {"ucs4-1234", Document::writeUCS4 | Document::writeBigEndian},
    {"ucs4-4321", Document::writeUCS4},
    {"ucs4-2143", Document::writeUCS4_2143},
    {"ucs4-3412", Document::writeUCS4_3412},
};

// A decimal count from 0 to 64; false for anything else.
bool ParseIndent(const char* text, DWORD& indent)
{
    if (text == nullptr || *text == '\0') {
        return false;
    }
    DWORD value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        value = value * 10 + DWORD(*p - '0');
        if (value > 64) {
            return false;
        }
    }
    indent = value;
    return true;
}

int Format(const std::vector<const char*>& arguments)
{
    DWORD options = Document::writeSingleByte;
    bool indented = false;
    DWORD indent = 0;
    const char* path = nullptr;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string argument = arguments[i];
        if (argument == "--encoding") {
            if (i + 1 >= arguments.size()) {
                std::fputs("orvxml: --encoding needs a value\n", stderr);
                return kExitUsage;
            }
            const std::string name = arguments[++i];
            bool known = false;
            for (const EncodingName& encoding : kEncodings) {
                if (name == encoding.name) {
                    options = encoding.options;
                    known = true;
                }
            }
            if (!known) {
                std::fprintf(stderr, "orvxml: unknown encoding '%s'\n", name.c_str());
                PrintUsage(stderr);
                return kExitUsage;
            }
        } else if (argument == "--indent") {
            if (i + 1 >= arguments.size() || !ParseIndent(arguments[i + 1], indent)) {
                std::fputs("orvxml: --indent needs a count from 0 to 64\n", stderr);
                return kExitUsage;
            }
            ++i;
            indented = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "orvxml: unknown option '%s'\n", argument.c_str());
            PrintUsage(stderr);
            return kExitUsage;
        } else if (path != nullptr) {
            std::fputs("orvxml: format takes one file\n", stderr);
            PrintUsage(stderr);
            return kExitUsage;
        } else {
            path = arguments[i];
        }
    }
    if (path == nullptr) {
        std::fputs("orvxml: format needs a file\n", stderr);
        PrintUsage(stderr);
        return kExitUsage;
    }
    CByteArray bytes;
    if (!ReadFile(path, bytes)) {
        return kExitUsage;
    }
    Document document;
    if (!ParseInto(document, bytes)) {
        std::fprintf(stderr, "%s\n", DescribeError(path, document).c_str());
        return kExitParseFailed;
    }
    document.SetWriteOptions(options);
    if (indented) {
        document.SetAutomaticIndentation(true, 0, indent);
    }
    CByteArray out;
    document.WriteTo(out);
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (out.GetSize() > 0 && std::fwrite(out.GetData(), 1, std::size_t(out.GetSize()), stdout) != std::size_t(out.GetSize())) {
        std::fputs("orvxml: cannot write the output\n", stderr);
        return kExitUsage;
    }
    if (std::fflush(stdout) != 0) {
        std::fputs("orvxml: cannot write the output\n", stderr);
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    std::vector<const char*> rest(argv + 2, argv + argc);
    if (command == "check") {
        return Check(rest);
    }
    if (command == "format") {
        return Format(rest);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    std::fprintf(stderr, "orvxml: unknown command '%s'\n", command.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
