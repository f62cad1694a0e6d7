// The host root and the folders below it.
#pragma once

#include <string>

namespace kestrel {

constexpr char kSeparator =
#if defined(_WIN32)
    '\\';
#else
    '/';
#endif

// KESTREL_ROOT when set, else <application data>/Velkor/ORV Desktop.
std::string HostRoot();

// `HostRoot()` + separator + `name`, created when missing; empty on failure.
std::string EnsureFolder(const std::string& path);

} // namespace kestrel
