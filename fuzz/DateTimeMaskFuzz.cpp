// Reads arbitrary text with an arbitrary mask (its length in the first
// byte), then applies the same bytes as overtype keys and arrow steps. A
// text that reads must write back to a text that reads as the same value,
// and every key on a written text must keep the mask's length.
#include "controls/DateTimeMask.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace orv::controls;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t maskLength = std::min<std::size_t>(data[0] % 24, size - 1);
    const std::string mask(reinterpret_cast<const char*>(data + 1), maskLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + maskLength), size - 1 - maskLength);
    const DateTimeMask layout(mask.c_str());
    const COleDateTime now(2026, 12, 7, 4, 20, 0);

    COleDateTime value = layout.Read(text.c_str(), now);
    if (value.GetStatus() != COleDateTime::valid)
        value = now;
    const CString written = layout.Write(value);
    if (written.GetLength() != layout.GetLength())
        std::abort();
    if (!(layout.Read(written, now) == value))
        std::abort();

    DateTimeEditChange change{true, false, written, 0, std::min(1, layout.GetLength())};
    for (unsigned char key : text) {
        switch (key % 4) {
        case 0:
            change = layout.Step(change.text, change.selStart, change.selEnd, (key & 4) ? 1 : -1, now);
            break;
        case 1:
            change = layout.Delete(change.text, change.selStart, change.selEnd, now);
            break;
        default:
            change = layout.Type(change.text, change.selStart, change.selEnd, key >> 2, now);
            break;
        }
        if (change.text.GetLength() != layout.GetLength() || change.selStart < 0 || change.selEnd < change.selStart
            || change.selEnd > layout.GetLength())
            std::abort();
        if (layout.Read(change.text, now).GetStatus() != COleDateTime::valid)
            std::abort();
    }
    return 0;
}
