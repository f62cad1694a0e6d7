// Copying a finished text into a caller's buffer of limited capacity.
#pragma once

#include <string_view>

namespace kestrel {

// Copies `text` and its terminator into `buffer` when it fits in `capacity`
// characters; a text that does not fit is replaced by a run of "#" filling
// the buffer, so that a cut-off number is never shown as if it were whole.
// Returns the length written.
int WriteNumber(std::string_view text, char* buffer, int capacity);

// Copies as much of `text` as fits, always terminated. Returns the length.
int WriteText(std::string_view text, char* buffer, int capacity);

} // namespace kestrel
