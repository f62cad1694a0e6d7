// The user's number separators, as the operating system reports them for the
// calling thread's locale.
#pragma once

namespace platform {

// Sets `separator` to the locale's decimal (or thousands) separator and
// returns true; returns false, leaving it untouched, when the system has no
// answer or the answer is not a single-byte character.
bool QueryDecimalSeparator(char& separator);
bool QueryThousandsSeparator(char& separator);

} // namespace platform
