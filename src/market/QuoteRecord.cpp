#include "market/QuoteRecord.h"

#include <array>
#include <cstring>
#include <new>

namespace {

// The string members of each record, in order, and where its plain block
// begins.
std::array<BSTR*, 4> Strings(QUOTERECORD& r)
{
    return {&r.bstrSymbol, &r.bstrExtra, &r.bstrDescription, &r.bstrUnderlier};
}
std::array<BSTR*, 2> Strings(OPTIONSRECORD& r) { return {&r.bstrSymbol, &r.bstrUnderlier}; }
std::array<BSTR*, 3> Strings(LEVEL2RECORD& r) { return {&r.bstrSymbol, &r.bstrMarketMaker, &r.bstrExchange}; }
std::array<BSTR*, 2> Strings(TSRECORD& r) { return {&r.bstrSymbol, &r.bstrExchange}; }

constexpr std::size_t PlainOffset(const QUOTERECORD*) { return offsetof(QUOTERECORD, dLast); }
constexpr std::size_t PlainOffset(const OPTIONSRECORD*) { return offsetof(OPTIONSRECORD, abData); }
constexpr std::size_t PlainOffset(const LEVEL2RECORD*) { return offsetof(LEVEL2RECORD, abData); }
constexpr std::size_t PlainOffset(const TSRECORD*) { return offsetof(TSRECORD, abData); }

template <class Record>
void FreeStrings(Record& record)
{
    for (BSTR* s : Strings(record)) {
        SysFreeString(*s);
        *s = nullptr;
    }
}

// Copies the source's strings into fresh system strings and its plain block
// byte for byte. All copies are made before the target is touched, so a
// failure leaves the target as it was.
template <class Record>
bool CopyInto(Record& target, const Record& source)
{
    auto sources = Strings(const_cast<Record&>(source));
    std::array<BSTR, std::tuple_size_v<decltype(sources)>> copies{};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (*sources[i] == nullptr)
            continue;
        copies[i] = SysAllocStringLen(*sources[i], SysStringLen(*sources[i]));
        if (copies[i] == nullptr) {
            for (BSTR made : copies)
                SysFreeString(made);
            return false;
        }
    }
    auto targets = Strings(target);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SysFreeString(*targets[i]);
        *targets[i] = copies[i];
    }
    const std::size_t offset = PlainOffset(&target);
    std::memcpy(reinterpret_cast<unsigned char*>(&target) + offset,
                reinterpret_cast<const unsigned char*>(&source) + offset, sizeof(Record) - offset);
    return true;
}

template <class Record>
bool SetRecord(Record*& target, const Record* source)
{
    if (source == nullptr) {
        if (target != nullptr) {
            FreeStrings(*target);
            delete target;
            target = nullptr;
        }
        return true;
    }
    if (target != nullptr)
        return target == source || CopyInto(*target, *source);
    auto* made = new (std::nothrow) Record{};
    if (made == nullptr)
        return false;
    if (!CopyInto(*made, *source)) {
        delete made;
        return false;
    }
    target = made;
    return true;
}

} // namespace

namespace orv::detail {

bool CopyQuoteRecord(QUOTERECORD& target, const QUOTERECORD& source)
{
    return &target == &source || CopyInto(target, source);
}

void FreeQuoteRecordStrings(QUOTERECORD& record)
{
    FreeStrings(record);
}

} // namespace orv::detail

bool SetQuoteRecord(QUOTERECORD*& target, const QUOTERECORD* source) { return SetRecord(target, source); }
bool SetOptionsRecord(OPTIONSRECORD*& target, const OPTIONSRECORD* source) { return SetRecord(target, source); }
bool SetLevel2Record(LEVEL2RECORD*& target, const LEVEL2RECORD* source) { return SetRecord(target, source); }
bool SetTSRecord(TSRECORD*& target, const TSRECORD* source) { return SetRecord(target, source); }
