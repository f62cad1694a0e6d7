#include "services/Version.h"

#include <algorithm>

namespace {

constexpr int kComponents = 4;
constexpr DWORD kLargestComponent = 0xFFFF;

bool IsBlank(char ch) noexcept
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

} // namespace

namespace OrvServices {

DWORD ReadUnsignedDecimal(const char* text) noexcept
{
    if (text == nullptr) {
        return 0;
    }
    while (IsBlank(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = std::min<unsigned long long>(value * 10 + static_cast<unsigned>(*text - '0'), 0xFFFFFFFFull + 1);
    }
    if (negative) {
        return 0;
    }
    return static_cast<DWORD>(std::min<unsigned long long>(value, 0xFFFFFFFFull));
}

} // namespace OrvServices

CVersion::CVersion(WORD major, WORD minor, WORD build, WORD revision)
{
    Set(major, minor, build, revision);
}

CVersion::CVersion(const char* text)
{
    Parse(text);
}

CVersion::~CVersion() = default;

void CVersion::Set(WORD major, WORD minor, WORD build, WORD revision) noexcept
{
    m_High = (DWORD(major) << 16) | minor;
    m_Low = (DWORD(build) << 16) | revision;
}

void CVersion::Get(WORD& major, WORD& minor, WORD& build, WORD& revision) const noexcept
{
    major = WORD(m_High >> 16);
    minor = WORD(m_High & 0xFFFF);
    build = WORD(m_Low >> 16);
    revision = WORD(m_Low & 0xFFFF);
}

void CVersion::Parse(const char* text)
{
    CString version(text);
    version.Trim();
    version.Replace(',', '.');
    version.Remove(' ');
    if (version.IsEmpty()) {
        Set(0, 0, 0, 0);
        return;
    }

    // Missing fields are the leading ones, so "1.2" reads as 0.0.1.2.
    int fields = 1;
    for (int at = version.Find('.'); at >= 0 && fields < kComponents; at = version.Find('.', at + 1)) {
        ++fields;
    }
    for (; fields < kComponents; ++fields) {
        version.Insert(0, "0.");
    }

    WORD components[kComponents] {};
    int start = 0;
    for (WORD& component : components) {
        const int end = version.Find('.', start);
        const CString field = end < 0 ? version.Mid(start) : version.Mid(start, end - start);
        component = WORD(std::min(OrvServices::ReadUnsignedDecimal(field), kLargestComponent));
        start = end < 0 ? version.GetLength() : end + 1;
    }
    Set(components[0], components[1], components[2], components[3]);
}

CString CVersion::ToString() const
{
    if (IsEmpty()) {
        return CString();
    }
    WORD major = 0, minor = 0, build = 0, revision = 0;
    Get(major, minor, build, revision);
    CString text;
    text.Format("%d.%d.%d.%d", int(major), int(minor), int(build), int(revision));
    return text;
}
