#include "controls/DateTimeMask.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orv::controls {

namespace {

constexpr char kLetters[] = "YMDhms";   // in the order of the fields below

struct Range {
    int low, high;
};
constexpr Range kWritten[] = {{1900, 9990}, {1, 12}, {0, 31}, {0, 23}, {0, 59}, {0, 59}};
constexpr Range kRead[] = {{1900, 9990}, {1, 12}, {1, 31}, {0, 23}, {0, 59}, {0, 59}};

int FieldIndex(char letter)
{
    return int(std::strchr(kLetters, letter) - kLetters);
}

bool IsLetter(char ch)
{
    return ch != '\0' && std::strchr(kLetters, ch) != nullptr;
}

struct Fields {
    int value[6];
};

Fields FieldsOf(const COleDateTime& value)
{
    return {{value.GetYear(), value.GetMonth(), value.GetDay(), value.GetHour(), value.GetMinute(),
             value.GetSecond()}};
}

COleDateTime Compose(const Fields& f)
{
    return COleDateTime(f.value[0], f.value[1], f.value[2], f.value[3], f.value[4], f.value[5]);
}

COleDateTime Invalid()
{
    COleDateTime value;
    value.SetStatus(COleDateTime::invalid);
    return value;
}

int PowerOfTen(int width)
{
    int power = 1;
    for (int i = 0; i < width; ++i)
        power *= 10;
    return power;
}

// The year ending in `digits` (the last `width` digits) nearest `current`;
// the later one on a tie.
int NearestYear(int digits, int width, int current)
{
    const int cycle = PowerOfTen(width);
    if (current < 0)
        current = 2000;
    const int base = current - current % cycle + digits;
    int best = base;
    for (int candidate : {base - cycle, base + cycle}) {
        const int distance = std::abs(candidate - current), bestDistance = std::abs(best - current);
        if (distance < bestDistance || (distance == bestDistance && candidate > best))
            best = candidate;
    }
    return best;
}

// Digits only, saturating well above every field's range; -1 otherwise.
long long ReadDigits(const char* text, int width)
{
    long long number = 0;
    for (int i = 0; i < width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        number = std::min(number * 10 + (text[i] - '0'), 1000000000LL);
    }
    return number;
}

} // namespace

DateTimeMask::DateTimeMask(const char* mask) : m_mask(mask != nullptr ? mask : "")
{
    const int length = m_mask.GetLength();
    for (int i = 0; i < length;) {
        const char ch = m_mask[i];
        int run = 1;
        if (IsLetter(ch)) {
            while (i + run < length && m_mask[i + run] == ch)
                ++run;
            const int width = ch == 'Y' ? run : std::max(run, 2);
            m_parts.push_back({ch, m_length, width, 0});
            m_length += width;
        } else {
            m_parts.push_back({0, m_length, 1, ch});
            ++m_length;
        }
        i += run;
    }
}

CString DateTimeMask::Write(const COleDateTime& value) const
{
    CString text;
    if (value.GetStatus() != COleDateTime::valid)
        return text;
    const Fields fields = FieldsOf(value);
    for (const Part& part : m_parts) {
        if (part.letter == 0) {
            text += part.literal;
            continue;
        }
        const int index = FieldIndex(part.letter);
        int number = std::clamp(fields.value[index], kWritten[index].low, kWritten[index].high);
        if (part.letter == 'Y' && part.width < 4)
            number %= PowerOfTen(part.width);
        text.AppendFormat("%0*d", part.width, number);
    }
    return text;
}

COleDateTime DateTimeMask::Read(const char* text, const COleDateTime& now) const
{
    if (text == nullptr || std::strlen(text) != std::size_t(m_length))
        return Invalid();
    Fields fields = FieldsOf(now);
    for (const Part& part : m_parts) {
        if (part.letter == 0) {
            if (text[part.start] != part.literal)
                return Invalid();
            continue;
        }
        long long number = ReadDigits(text + part.start, part.width);
        if (number < 0)
            return Invalid();
        if (part.letter == 'Y' && part.width < 4)
            number = NearestYear(int(number), part.width, now.GetYear());
        const int index = FieldIndex(part.letter);
        fields.value[index] = int(std::clamp<long long>(number, kRead[index].low, kRead[index].high));
    }
    return Compose(fields);
}

CString DateTimeMask::WriteMarket(const COrvDateTime& utc) const
{
    const COleDateTimeSpan span(0, 0, COrvDateTime::GetDisplayToUTCMinutes(), 0);
    return Write(static_cast<const COleDateTime&>(utc) - span);
}

COrvDateTime DateTimeMask::ReadMarket(const char* text, const COleDateTime& now) const
{
    COrvDateTime utc;
    utc = Read(text, now);
    if (utc.GetStatus() == COleDateTime::valid)
        utc += COleDateTimeSpan(0, 0, COrvDateTime::GetDisplayToUTCMinutes(), 0);
    return utc;
}

COrvDateTime DateTimeMask::ReadMarket(const char* text) const
{
    const COleDateTimeSpan span(0, 0, COrvDateTime::GetDisplayToUTCMinutes(), 0);
    return ReadMarket(text, static_cast<const COleDateTime&>(COrvDateTime::GetTickCount()) - span);
}

const DateTimeMask::Part* DateTimeMask::FieldAt(int position) const
{
    for (const Part& part : m_parts) {
        if (part.letter != 0 && position >= part.start && position < part.start + part.width)
            return &part;
    }
    return nullptr;
}

const DateTimeMask::Part* DateTimeMask::FieldForStep(int position) const
{
    if (const Part* part = FieldAt(position))
        return part;
    const Part* before = nullptr;
    for (const Part& part : m_parts) {
        if (part.letter != 0 && part.start + part.width <= position)
            before = &part;
    }
    return before;
}

bool DateTimeMask::IsFieldPosition(int position) const
{
    return FieldAt(position) != nullptr;
}

int DateTimeMask::NextFieldPosition(int position) const
{
    for (int p = std::max(position + 1, 0); p < m_length; ++p) {
        if (IsFieldPosition(p))
            return p;
    }
    return -1;
}

int DateTimeMask::PreviousFieldPosition(int position) const
{
    for (int p = std::min(position, m_length) - 1; p >= 0; --p) {
        if (IsFieldPosition(p))
            return p;
    }
    return -1;
}

int DateTimeMask::MoveCaret(int position, bool forward) const
{
    int next = forward ? NextFieldPosition(position) : PreviousFieldPosition(position);
    if (next < 0)
        next = forward ? NextFieldPosition(-1) : PreviousFieldPosition(m_length);
    return next < 0 ? position : next;
}

bool DateTimeMask::FieldRange(char letter, int& start, int& end) const
{
    for (const Part& part : m_parts) {
        if (part.letter != 0 && part.letter == letter) {
            start = part.start;
            end = part.start + part.width;
            return true;
        }
    }
    start = end = 0;
    return false;
}

DateTimeEditChange DateTimeMask::Rewrite(const CString& text, const CString& edited, const COleDateTime& now) const
{
    DateTimeEditChange change;
    change.text = text;
    const COleDateTime value = Read(edited, now);
    if (value.GetStatus() == COleDateTime::valid) {
        change.text = Write(value);
        change.changed = change.text != text;
    }
    return change;
}

DateTimeEditChange DateTimeMask::Type(const CString& text, int selStart, int selEnd, unsigned ch,
                                      const COleDateTime& now) const
{
    const int length = text.GetLength();
    const int start = std::clamp(std::min(selStart, selEnd), 0, length);
    const int end = std::clamp(std::max(selStart, selEnd), 0, length);
    DateTimeEditChange change{true, false, text, selStart, selEnd};
    if (ch == '\b') {
        const int previous = PreviousFieldPosition(start);
        if (previous < 0 || previous >= length)
            return change;
        return ZeroAt(text, previous, now);
    }
    if (ch < '0' || ch > '9') {
        int next = NextFieldPosition(start);
        if (next < 0)
            next = PreviousFieldPosition(m_length);
        if (next >= 0) {
            change.selStart = next;
            change.selEnd = next + 1;
        }
        return change;
    }
    const bool several = end - start > 1;
    if (start < length && IsFieldPosition(start) && (several || text[start] != char(ch))) {
        CString edited = text;
        for (int p = start; p < end; ++p) {
            if (IsFieldPosition(p))
                edited.SetAt(p, '0');
        }
        edited.SetAt(start, char(ch));
        change = Rewrite(text, edited, now);
    }
    const int next = NextFieldPosition(start);
    change.selStart = next < 0 ? length : next;
    change.selEnd = next < 0 ? length : next + 1;
    return change;
}

DateTimeEditChange DateTimeMask::Delete(const CString& text, int selStart, int selEnd, const COleDateTime& now) const
{
    const int start = std::min(selStart, selEnd);
    DateTimeEditChange change{true, false, text, selStart, selEnd};
    if (start < 0 || start >= m_length) {
        change.handled = false;
        return change;
    }
    if (start >= text.GetLength() || !IsFieldPosition(start))
        return change;
    return ZeroAt(text, start, now);
}

DateTimeEditChange DateTimeMask::ZeroAt(const CString& text, int position, const COleDateTime& now) const
{
    CString edited = text;
    edited.SetAt(position, '0');
    DateTimeEditChange change = Rewrite(text, edited, now);
    change.selStart = position;
    change.selEnd = position + 1;
    return change;
}

DateTimeEditChange DateTimeMask::Step(const CString& text, int selStart, int selEnd, int amount,
                                      const COleDateTime& now) const
{
    DateTimeEditChange change{true, false, text, selStart, selEnd};
    const Part* field = FieldForStep(std::min(selStart, selEnd));
    if (field == nullptr) {
        change.handled = false;
        return change;
    }
    const COleDateTime value = Read(text, now);
    if (value.GetStatus() != COleDateTime::valid)
        return change;
    Fields fields = FieldsOf(value);
    fields.value[FieldIndex(field->letter)] += amount;
    const COleDateTime stepped = Compose(fields);
    if (stepped.GetStatus() == COleDateTime::valid) {
        change.text = Write(stepped);
        change.changed = change.text != text;
    }
    if (field->letter == 'm') {
        change.selStart = field->start;
        change.selEnd = field->start + field->width;
    }
    return change;
}

} // namespace orv::controls
