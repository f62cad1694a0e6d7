// Test support: the lines of the host log under a host root, without their
// time and thread, as "L<level> <message>".
#pragma once

#include "support/ScratchFolder.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace orv_test {

inline std::vector<std::string> HostLogLines(const std::filesystem::path& hostRoot)
{
    std::istringstream log(ReadFile(hostRoot / "User" / "logs" / "kestrel.log"));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(log, line)) {
        // "<date> <time> L<level> T<thread> <message>"
        std::istringstream fields(line);
        std::string date, time, level, thread;
        fields >> date >> time >> level >> thread;
        const std::size_t start = std::size_t(fields.tellg()) + 1;
        lines.push_back(level + " " + (start <= line.size() ? line.substr(start) : std::string()));
    }
    return lines;
}

} // namespace orv_test
