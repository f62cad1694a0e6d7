// Reads arbitrary text as a number of the numeric edit, with the kind,
// decimals code and decimal separator taken from the first two bytes, then
// types the same bytes as keystrokes. Every text the edit writes or accepts
// must read again; whole numbers and apostrophe prices must read back as
// exactly the stored value.
#include "controls/ApostrophePrice.h"
#include "controls/NumberText.h"
#include "text/Locale.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace orv::controls;

namespace {

const int kCodes[] = {0, 2, 4, 15, 17, 18, 19, 20, 21, 22, 23, 24, 32, 33, 34, -3};

void CheckWritesRead(const NumberEditModel& model)
{
    double again = 0;
    if (!model.Parse(model.Text(), again))
        std::abort();
    const bool exact = model.GetKind() == NumberWhole
                       || (model.GetKind() == NumberPrice && model.IsApostropheDecimalFormat());
    if (exact && model.Bound(again) != model.Get())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int kind = data[0] & 3;
    const int code = kCodes[(data[0] >> 2) & 15];
    CLocale::DecimalSeparator = (data[1] & 1) ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    double value = 0;
    if (ParseApostrophePrice(text.c_str(), code, value) && std::isnan(value))
        std::abort();

    NumberEditModel model(kind, code);
    model.SetMinMax((data[1] & 2) ? -1e6 : 0, 1e6);
    if (model.Parse(text.c_str(), value)) {
        if (std::isnan(value))
            std::abort();
        model.Set(value);
        if (model.Get() < model.GetMin() || model.Get() > model.GetMax())
            std::abort();
        CheckWritesRead(model);
    }

    CString shown = model.Text();
    for (unsigned char key : text) {
        const int caret = int(key) % (shown.GetLength() + 1);
        const NumberEditChange change = model.Type(shown, caret, caret, key,
                                                   (key & 0x80) ? KeySource::DeleteKey : KeySource::Character);
        if (change.accepted) {
            if (!model.Parse(change.text, value) || change.caret < 0 || change.caret > change.text.GetLength())
                std::abort();
            shown = change.text;
        }
    }
    CheckWritesRead(model);
    return 0;
}
