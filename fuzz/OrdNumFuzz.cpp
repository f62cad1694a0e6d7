// Sets order numbers from arbitrary text (up to the first NUL) and checks
// that the numbers agree with the text's case-folded form, that failures
// leave the object as it was, and that the order is a strict weak one.
#include "market/OrdNum.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string text = raw.substr(0, raw.find('\0'));

    COrdNum before("AAA01:1");
    COrdNum number(before);
    const int result = number.SetOrdNum(text.c_str());
    Check(result == (text.find(':') != std::string::npos ? 1 : 0));
    if (result == 0) {
        Check(number == before && std::strcmp(number, "AAA01:1") == 0);
        return 0;
    }
    Check(std::strcmp(number, text.c_str()) == 0);
    Check(!number.IsEmpty());

    std::string upper = text;
    for (char& ch : upper)
        ch = char(std::toupper(static_cast<unsigned char>(ch)));
    const COrdNum folded(upper.c_str());
    Check(folded == number);
    Check(!(number < folded) && !(folded < number));
    Check(!(number < number));
    Check(!(number < before && before < number));

    number.Empty();
    Check(number.IsEmpty() && number.GetPrefix() == 0 && number.GetSequence() == 0);
    return 0;
}
