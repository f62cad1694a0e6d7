// The native registry's store file (see RegistryFile.h).
#include "platform/posix/RegistryFile.h"

#include "platform/posix/AtomicFile.h"

#include <cerrno>
#include <cstdlib>

namespace platform::posix::registry {

namespace {

std::string Escape(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = ":";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x21 || byte > 0x7E || byte == '%' || byte == '\\') {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

bool Unescape(const std::string& field, std::string& text)
{
    if (field.empty() || field[0] != ':') {
        return false;
    }
    text.clear();
    for (std::size_t i = 1; i < field.size(); ++i) {
        if (field[i] != '%') {
            text += field[i];
            continue;
        }
        if (i + 2 >= field.size()) {
            return false;
        }
        const int high = HexDigit(field[i + 1]);
        const int low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string BootIdentifier()
{
    std::string text;
    if (platform::posix::ReadWholeFile("/proc/sys/kernel/random/boot_id", text) != 0) {
        return std::string();
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

void WriteKey(const Key& key, const std::string& path, std::string& out)
{
    out += "K ";
    out += key.isVolatile ? "1 " : "0 ";
    out += path;
    out += '\n';
    static const char digits[] = "0123456789abcdef";
    for (const Value& value : key.values) {
        out += "V " + Escape(value.name) + ' ' + std::to_string(value.type) + " :";
        for (const BYTE byte : value.data) {
            out += digits[byte >> 4];
            out += digits[byte & 15];
        }
        out += '\n';
    }
    for (const Key& child : key.subkeys) {
        std::string childPath = path + '\\' + Escape(child.name).substr(1);
        WriteKey(child, childPath, out);
    }
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t stop = line.find(' ', start);
        if (stop == std::string::npos) {
            stop = line.size();
        }
        fields.push_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    return fields;
}

bool ParseValueLine(const std::vector<std::string>& fields, Key& key)
{
    Value value;
    std::string hex;
    if (fields.size() != 4 || !Unescape(fields[1], value.name) || !Unescape(fields[3], hex) || hex.size() % 2 != 0) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long type = std::strtoul(fields[2].c_str(), &end, 10);
    if (fields[2].empty() || *end != '\0' || errno != 0 || type > 0xFFFFFFFFul) {
        return false;
    }
    value.type = static_cast<DWORD>(type);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        value.data.push_back(static_cast<BYTE>(high * 16 + low));
    }
    if (FindValue(key, value.name.c_str()) != nullptr) {
        return false;
    }
    key.values.push_back(std::move(value));
    return true;
}

bool ParseKeyLine(const std::vector<std::string>& fields, Key& top, Key*& current)
{
    if (fields.size() != 3 || (fields[1] != "0" && fields[1] != "1") || fields[2].empty() || fields[2][0] != ':') {
        return false;
    }
    // Levels are separated by literal backslashes, which escaping keeps out
    // of the names themselves.
    const std::string& path = fields[2];
    Key* key = &top;
    std::size_t start = 1;
    bool first = true;
    while (start <= path.size()) {
        std::size_t stop = path.find('\\', start);
        if (stop == std::string::npos) {
            stop = path.size();
        }
        std::string name;
        if (!Unescape(":" + path.substr(start, stop - start), name) || name.empty() ||
            name.size() > kMaximumKeyNameLength) {
            return false;
        }
        Key* child = FindSubkey(*key, name);
        if (child == nullptr) {
            if (first && !IsRootName(name)) {
                return false;
            }
            child = &AddSubkey(*key, name, false);
        }
        key = child;
        first = false;
        start = stop + 1;
    }
    key->isVolatile = fields[1] == "1";
    current = key;
    return true;
}

} // namespace

std::string SerializeTree(const Key& top)
{
    std::string out = "ORVREG 1 " + Escape(BootIdentifier()) + "\n";
    for (const Key& root : top.subkeys) {
        WriteKey(root, Escape(root.name), out);
    }
    return out;
}

bool ParseStore(const std::string& text, Key& top)
{
    Key parsed;
    Key* current = nullptr;
    std::size_t start = 0;
    bool sameBoot = true;
    bool sawHeader = false;
    while (start < text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos) {
            return false; // every record ends with a line break
        }
        const std::vector<std::string> fields = SplitFields(text.substr(start, stop - start));
        start = stop + 1;
        if (!sawHeader) {
            std::string boot;
            if (fields.size() != 3 || fields[0] != "ORVREG" || fields[1] != "1" || !Unescape(fields[2], boot)) {
                return false;
            }
            sameBoot = boot == BootIdentifier();
            sawHeader = true;
        } else if (fields[0] == "K") {
            if (!ParseKeyLine(fields, parsed, current)) {
                return false;
            }
        } else if (fields[0] == "V") {
            if (current == nullptr || !ParseValueLine(fields, *current)) {
                return false;
            }
        } else {
            return false;
        }
    }
    if (!sameBoot) {
        DropVolatileKeys(parsed);
    }
    top = std::move(parsed);
    return true;
}

} // namespace platform::posix::registry
