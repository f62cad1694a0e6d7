#include "market/SymbolData.h"

#include "Kestrel.h"
#include "market/QuoteRecord.h"
#include "market/SymbolShape.h"
#include "platform/FileReplace.h"
#include "platform/SysString.h"
#include "text/HostPaths.h"
#include "text/Locale.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Initial hash-table sizes of the maps.
constexpr UINT kFuturesHashSize = 31;
constexpr UINT kForexHashSize = 401;
constexpr UINT kForexAliasHashSize = 1701;
constexpr UINT kEsignalRootHashSize = 1001;
constexpr DWORD kSpinCount = 4000;

constexpr int kLogDetail = 2;
constexpr int kLogFailure = 4;
// The file error text in a log line is cut to this many characters.
constexpr std::size_t kErrorTextLimit = 255;
// A forex key (pair and bank) is cut to this many characters.
constexpr int kForexKeyLimit = 16;
// The version stamp is looked for in this many characters of the first line.
constexpr int kChecksumLineLimit = 127;

std::string LimitedErrorText(int error)
{
    std::string text = platform::FileErrorText(error);
    if (text.size() > kErrorTextLimit)
        text.resize(kErrorTextLimit);
    return text;
}

// The whole file in bytes; 0, or the error that stopped the read. A file
// whose size can be told is read straight into the array.
int ReadFile(std::FILE* file, CByteArray& bytes)
{
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && size <= 0x7FFFFFFF && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.SetSize(static_cast<int>(size));
            const std::size_t got = size > 0 ? std::fread(bytes.GetData(), 1, static_cast<std::size_t>(size), file) : 0;
            if (std::ferror(file))
                return errno != 0 ? errno : EIO;
            // A file that changed size since: what was read, and any rest.
            if (got < static_cast<std::size_t>(size)) {
                bytes.SetSize(static_cast<int>(got));
                return 0;
            }
            char probe = 0;
            if (std::fread(&probe, 1, 1, file) == 0 && !std::ferror(file))
                return 0;
        }
        std::clearerr(file);
        std::fseek(file, 0, SEEK_SET);
    }
    std::string content;
    char chunk[16384];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        content.append(chunk, got);
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(file))
        return errno != 0 ? errno : EIO;
    bytes.SetSize(static_cast<int>(std::min<std::size_t>(content.size(), 0x7FFFFFFF)));
    if (!content.empty())
        std::memcpy(bytes.GetData(), content.data(), static_cast<std::size_t>(bytes.GetSize()));
    return 0;
}

// The first attribute of the entry with that name, read in place; null
// when there is none. (GetAttributeByName would copy the name and the value
// into strings for every look-up.)
const OrvXml::CNodeText* AttributeText(const CExtensibleMarkupLanguageElement& entry, std::string_view name)
{
    DWORD index = 0;
    CExtensibleMarkupLanguageAttribute* attribute = nullptr;
    while (entry.GetNextAttribute(index, attribute)) {
        if (attribute->m_Name == name)
            return &attribute->m_Value;
    }
    return nullptr;
}

bool AttributeString(const CExtensibleMarkupLanguageElement& entry, std::string_view name, CString& value)
{
    const OrvXml::CNodeText* text = AttributeText(entry, name);
    if (text == nullptr)
        return false;
    value = text->ToCString();
    return true;
}

// std::atof of the text. A plain decimal number ([+-]digits[.digits], at
// most 19 digits, nothing after it) is read directly when the locale's
// decimal point is '.': its digits as an integer below 2^53 divided by a
// power of ten up to 10^22, both exact, give the correctly rounded value,
// which is what std::atof gives.
double ReadDecimal(const char* text, bool plainDecimalPoint)
{
    if (!plainDecimalPoint)
        return std::atof(text);
    const char* at = text;
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+')
        ++at;
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = -1;
    for (;; ++at) {
        if (*at >= '0' && *at <= '9') {
            digits = digits * 10 + std::uint64_t(*at - '0');
            ++count;
            if (fraction >= 0)
                ++fraction;
        } else if (*at == '.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14,
        1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (*at != '\0' || count == 0 || count > 19 || digits >= (std::uint64_t(1) << 53))
        return std::atof(text);
    const double value = double(digits) / kPowers[fraction > 0 ? fraction : 0];
    return negative ? -value : value;
}

// The first attribute of each of N names, found in one pass over an
// entry's attributes and read in place.
template <std::size_t N>
class EntryAttributes {
public:
    EntryAttributes(const CExtensibleMarkupLanguageElement& entry, const std::string_view (&names)[N])
    {
        DWORD index = 0;
        CExtensibleMarkupLanguageAttribute* attribute = nullptr;
        while (entry.GetNextAttribute(index, attribute)) {
            for (std::size_t i = 0; i < N; ++i) {
                if (m_found[i] == nullptr && attribute->m_Name == names[i]) {
                    m_found[i] = &attribute->m_Value;
                    break;
                }
            }
        }
    }

    bool Has(std::size_t i) const { return m_found[i] != nullptr; }
    const char* Text(std::size_t i) const { return m_found[i]->GetString(); }
    bool String(std::size_t i, CString& value) const
    {
        if (m_found[i] == nullptr)
            return false;
        value = m_found[i]->ToCString();
        return true;
    }
    double Decimal(std::size_t i, double fallback, bool plainDecimalPoint) const
    {
        return m_found[i] != nullptr ? ReadDecimal(m_found[i]->GetString(), plainDecimalPoint) : fallback;
    }

private:
    const OrvXml::CNodeText* m_found[N] = {};
};

// The attributes of a forex entry and of a futures root, in the order of
// their indices.
enum ForexAttribute { kForexSymbol, kBank, kPremiumBuy, kPremiumSell, kPipDecimal, kMarginRate, kLotMultiplierActive };
constexpr std::string_view kForexNames[] = {"Symbol", "Bank", "premiumBuy", "premiumSell", "pipDecimal", "marginRate",
    "lotMultiplierActive"};
enum FuturesAttribute { kRootSymbol, kExchange, kIncrement, kOvernightMargin, kOvernightMaint, kIntradayMargin,
    kContractSize, kDisplayFormat, kEsignalRoot };
constexpr std::string_view kFuturesNames[] = {"Symbol", "exch", "Increment", "overnightMargin", "overnightMaint",
    "intradayMargin", "contractSize", "displayFormat", "eSignalRoot"};

// Pip places: the absolute base-10 logarithm of the pip size, truncated.
// A tiny tolerance keeps 0.0001 at 4 when the logarithm of its binary
// approximation lands just short of -4. A size that is not positive gives 0.
int PipPlacesOf(double pipDecimal)
{
    if (!(pipDecimal > 0.0) || !std::isfinite(pipDecimal))
        return 0;
    const double places = std::fabs(std::log10(pipDecimal));
    return static_cast<int>(places + 1e-9);
}

// The smallest prime at or above n (n small enough that trial division is
// cheap next to building the map).
UINT NextPrime(UINT n)
{
    for (;; ++n) {
        bool prime = n >= 2;
        for (UINT d = 2; prime && d * d <= n; ++d)
            prime = n % d != 0;
        if (prime)
            return n;
    }
}

// The maps start at their fixed initial sizes and do not grow by
// themselves; a file with many more entries than buckets would make every
// lookup walk long chains. While loading, each map has room for the most
// entries the file can give it; after loading, a table with more entries
// than its initial size is left at about one entry per bucket, and any
// other back at its initial size.
template <class Map>
void ReserveFor(Map& map, UINT entries)
{
    if (entries > map.GetHashTableSize())
        map.InitHashTable(NextPrime(entries + entries / 4));
}

template <class Map>
void SettleFor(Map& map, UINT initialSize)
{
    const UINT count = static_cast<UINT>(map.GetCount());
    const UINT size = count > initialSize ? NextPrime(count + count / 4) : initialSize;
    if (size != map.GetHashTableSize())
        map.InitHashTable(size);
}

UINT CountEntries(const CExtensibleMarkupLanguageElement* section)
{
    return section != nullptr ? static_cast<UINT>(section->GetNumberOfChildren()) : 0;
}

// All the elements directly under a section.
template <class Visit>
void ForEachEntry(const CExtensibleMarkupLanguageElement* section, Visit visit)
{
    if (section == nullptr)
        return;
    DWORD index = 0;
    CExtensibleMarkupLanguageElement* entry = nullptr;
    while (section->GetNextChild(index, entry)) {
        if (entry != nullptr && entry->GetType() == CExtensibleMarkupLanguageElement::typeElement)
            visit(*entry);
    }
}

} // namespace

// ------------------------------------------------------------ loading
//
// Fills a staging instance from a parsed document, section by section.
class CSymbolData::Loader {
public:
    explicit Loader(CSymbolData& target) : m_target(target) { m_seenPairs.InitHashTable(kForexHashSize); }

    void Read(const CExtensibleMarkupLanguageElement& top)
    {
        const CExtensibleMarkupLanguageElement* forex = top.GetChild("Forex");
        const CExtensibleMarkupLanguageElement* futures = top.GetChild("Futures");
        const CExtensibleMarkupLanguageElement* rates = top.GetChild("ExchRates");
        const UINT forexSize = m_target.m_mapForex.GetHashTableSize();
        const UINT aliasSize = m_target.m_mapForexAlias.GetHashTableSize();
        const UINT futuresSize = m_target.m_mapFutures.GetHashTableSize();
        const UINT esignalSize = m_target.m_mapEsignalRoots.GetHashTableSize();
        const UINT spotSize = m_target.m_mapSpotRates.GetHashTableSize();
        // A forex entry adds at most two keys and four aliases, a futures
        // root one entry and one vendor root, a rate two spot rates.
        ReserveFor(m_target.m_mapForex, 2 * CountEntries(forex));
        ReserveFor(m_target.m_mapForexAlias, 4 * CountEntries(forex));
        ReserveFor(m_seenPairs, CountEntries(forex));
        ReserveFor(m_target.m_mapFutures, CountEntries(futures));
        ReserveFor(m_target.m_mapEsignalRoots, CountEntries(futures));
        ReserveFor(m_target.m_mapSpotRates, 2 * CountEntries(rates));

        ForEachEntry(forex, [this](const auto& entry) { ReadForex(entry); });
        ForEachEntry(futures, [this](const auto& entry) { ReadFutures(entry); });
        ForEachEntry(rates, [this](const auto& entry) { ReadExchangeRate(entry); });
        if (const auto* rate = top.GetChild("RiskFreeIntRate")) {
            CString text;
            rate->GetText(text);
            if (!text.IsEmpty())
                m_target.m_dRiskFreeIntRate = std::atof(text);
        }
        SettleFor(m_target.m_mapFutures, futuresSize);
        SettleFor(m_target.m_mapForex, forexSize);
        SettleFor(m_target.m_mapForexAlias, aliasSize);
        SettleFor(m_target.m_mapEsignalRoots, esignalSize);
        SettleFor(m_target.m_mapSpotRates, spotSize);
    }

private:
    CForexData* NewForexData(const EntryAttributes<std::size(kForexNames)>& entry) const
    {
        auto* data = new CForexData;
        data->m_dBuyPremium = entry.Decimal(kPremiumBuy, data->m_dBuyPremium, m_plainDecimalPoint);
        data->m_dSellPremium = entry.Decimal(kPremiumSell, data->m_dSellPremium, m_plainDecimalPoint);
        if (entry.Has(kPipDecimal)) {
            data->m_dPipDecimal = ReadDecimal(entry.Text(kPipDecimal), m_plainDecimalPoint);
            data->m_nPipPlaces = PipPlacesOf(data->m_dPipDecimal);
        }
        data->m_dMarginRate = entry.Decimal(kMarginRate, data->m_dMarginRate, m_plainDecimalPoint);
        if (entry.Has(kLotMultiplierActive))
            data->m_bLotMultiplierActive = std::atol(entry.Text(kLotMultiplierActive)) != 0;
        return data;
    }

    void ReadForex(const CExtensibleMarkupLanguageElement& element)
    {
        const EntryAttributes entry(element, kForexNames);
        CString pair;
        if (!entry.String(kForexSymbol, pair))
            return;
        CString key = pair;
        CString bank;
        if (entry.String(kBank, bank))
            key += bank;
        else
            HostLogFormat(kLogDetail, "Mapped default CForexData for %s", pair.GetString());

        CMapStringToForexData& forex = m_target.m_mapForex;
        CForexData* data = NewForexData(entry);
        // The entry replaces any earlier one of the same key (the map holds
        // no null data, so a null slot is a new one).
        CForexData*& slot = forex[key];
        delete slot;
        slot = data;
        // The first entry of a pair, banked or not, supplies its default
        // until an entry without a bank replaces it.
        CForexData* old = nullptr;
        if (!forex.Lookup(pair, old))
            forex[pair] = new CForexData(*data);

        const auto seenBefore = m_seenPairs.GetCount();
        m_seenPairs[pair] = nullptr;
        if (m_seenPairs.GetCount() != seenBefore)
            m_target.m_arrForexSymbols.Add(pair);
        AddAliases(pair);
    }

    // EUR/USD is reached from EUR/USD, EURUSD, USDEUR and USD/EUR.
    void AddAliases(const CString& pair)
    {
        CMapStringToString& aliases = m_target.m_mapForexAlias;
        const auto before = aliases.GetCount();
        CString& own = aliases[pair];
        if (aliases.GetCount() == before)
            return;
        own = pair;
        const int slash = pair.Find('/');
        if (slash < 0)
            return;
        const CString base = pair.Left(slash);
        const CString quote = pair.Mid(slash + 1);
        aliases[base + quote] = pair;
        aliases[quote + base] = pair;
        aliases[quote + "/" + base] = pair;
    }

    void ReadFutures(const CExtensibleMarkupLanguageElement& element)
    {
        const EntryAttributes entry(element, kFuturesNames);
        CString root;
        if (!entry.String(kRootSymbol, root))
            return;
        auto* data = new FUTURESDATA;
        CString text;
        if (entry.String(kExchange, text))
            data->sExchange = text.Trim();
        data->dIncrement = entry.Decimal(kIncrement, data->dIncrement, m_plainDecimalPoint);
        data->dOvernightMargin = entry.Decimal(kOvernightMargin, data->dOvernightMargin, m_plainDecimalPoint);
        data->dOvernightMaint = entry.Decimal(kOvernightMaint, data->dOvernightMaint, m_plainDecimalPoint);
        data->dIntradayMargin = entry.Decimal(kIntradayMargin, data->dIntradayMargin, m_plainDecimalPoint);
        if (entry.Has(kContractSize))
            data->nContractSize = static_cast<int>(std::atol(entry.Text(kContractSize)));
        if (entry.Has(kDisplayFormat))
            data->nDisplayFormat = std::atoi(entry.Text(kDisplayFormat));
        if (entry.String(kEsignalRoot, text))
            m_target.m_mapEsignalRoots[root] = text;

        FUTURESDATA* old = nullptr;
        if (m_target.m_mapFutures.Lookup(root, old))
            delete old;
        m_target.m_mapFutures[root] = data;
    }

    void ReadExchangeRate(const CExtensibleMarkupLanguageElement& entry)
    {
        CString name;
        CString rate;
        if (AttributeString(entry, "Name", name) && AttributeString(entry, "Rate", rate))
            m_target.MapSpotRate(name, std::atof(rate));
    }

    CSymbolData& m_target;
    // The pairs already in the list, so that adding one is not a search.
    CMapStringToPtr m_seenPairs;
    // Whether std::atof reads '.' as the decimal point (see ReadDecimal).
    bool m_plainDecimalPoint = std::strcmp(std::localeconv()->decimal_point, ".") == 0;
};

// ------------------------------------------------------ the instance

// sm_staticInstance is defined in LibraryStartup.cpp, built last when the
// library loads, after the market clock.

CSymbolData::CSymbolData() : m_sect(kSpinCount)
{
    m_mapFutures.InitHashTable(kFuturesHashSize);
    m_mapForex.InitHashTable(kForexHashSize);
    m_mapForexAlias.InitHashTable(kForexAliasHashSize);
    m_mapEsignalRoots.InitHashTable(kEsignalRootHashSize);
}

CSymbolData::~CSymbolData()
{
    DeleteContent();
}

CSymbolData& CSymbolData::GetStaticInstance()
{
    return sm_staticInstance;
}

void CSymbolData::SetUserName(const char* userName)
{
    m_sUserName = userName != nullptr ? userName : "";
}

CString CSymbolData::GetXMLPath() const
{
    CString name;
    name.Format("%s-OrvSymbolData.xml", m_sUserName.GetString());
    return GetDataPath(name);
}

int CSymbolData::LoadXML()
{
    Clear();
    CString path = GetXMLPath();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        path = GetDataPath("SymbolData.xml");
        file = std::fopen(path, "rb");
        if (file == nullptr)
            return 0;
    }
    CByteArray bytes;
    errno = 0;
    const int error = ReadFile(file, bytes);
    std::fclose(file);
    if (error != 0 || bytes.GetSize() == 0) {
        const std::string text = error != 0 ? LimitedErrorText(error) : std::string("the file is empty");
        HostLogFormat(kLogFailure, "Failed to load symbol data %s...%s", path.GetString(), text.c_str());
        return 0;
    }

    CSymbolData staged;
    staged.m_dRiskFreeIntRate = m_dRiskFreeIntRate;
    {
        CDataParser parser;
        parser.Initialize(&bytes);
        CExtensibleMarkupLanguageDocument document;
        if (document.Parse(parser)) {
            if (const CExtensibleMarkupLanguageElement* top = document.GetElement("SymbolData"))
                Loader(staged).Read(*top);
        }
    }
    SwapContent(staged);
    // staged now holds the previous (empty) content and frees it.
    return 1;
}

void CSymbolData::WriteXML(const CString& text)
{
    const CString path = GetXMLPath();
    const int error = platform::ReplaceFileContents(path, text.GetString(), static_cast<std::size_t>(text.GetLength()));
    if (error != 0) {
        HostLogFormat(kLogFailure, "Warning: unable to open symbol data %s...%s", path.GetString(),
                      LimitedErrorText(error).c_str());
    }
}

unsigned int CSymbolData::GetXMLFileChecksum()
{
    return ::GetXMLFileChecksum(GetXMLPath());
}

void CSymbolData::Clear()
{
    CSymbolData detached;
    detached.m_dRiskFreeIntRate = m_dRiskFreeIntRate;
    SwapContent(detached);
}

void CSymbolData::SwapContent(CSymbolData& other)
{
    CSectionLock lock(m_sect);
    std::swap(m_mapFutures, other.m_mapFutures);
    std::swap(m_mapForex, other.m_mapForex);
    std::swap(m_mapForexAlias, other.m_mapForexAlias);
    std::swap(m_mapEsignalRoots, other.m_mapEsignalRoots);
    std::swap(m_mapSpotRates, other.m_mapSpotRates);
    std::swap(m_arrForexSymbols, other.m_arrForexSymbols);
    std::swap(m_dRiskFreeIntRate, other.m_dRiskFreeIntRate);
}

void CSymbolData::DeleteContent()
{
    POSITION position = m_mapForex.GetStartPosition();
    while (position != nullptr) {
        CString key;
        CForexData* data = nullptr;
        m_mapForex.GetNextAssoc(position, key, data);
        delete data;
    }
    position = m_mapFutures.GetStartPosition();
    while (position != nullptr) {
        CString key;
        FUTURESDATA* data = nullptr;
        m_mapFutures.GetNextAssoc(position, key, data);
        delete data;
    }
    m_mapForex.RemoveAll();
    m_mapFutures.RemoveAll();
    m_mapForexAlias.RemoveAll();
    m_mapEsignalRoots.RemoveAll();
    m_mapSpotRates.RemoveAll();
    m_arrForexSymbols.RemoveAll();
}

// ------------------------------------------------------------- forex

int CSymbolData::GetAllForexSymbols(CStringArray& symbols)
{
    CSectionLock lock(m_sect);
    if (m_arrForexSymbols.IsEmpty())
        return 0;
    symbols.Copy(m_arrForexSymbols);
    return 1;
}

int CSymbolData::GetProperForexSymbol(const char* text, CString& symbol)
{
    if (text == nullptr)
        return 0;
    CSectionLock lock(m_sect);
    return m_mapForexAlias.Lookup(text, symbol) ? 1 : 0;
}

int CSymbolData::GetProperForexSymbol(const char* first, const char* second, CString& symbol)
{
    CString joined;
    joined.Format("%s%s", first != nullptr ? first : "", second != nullptr ? second : "");
    return GetProperForexSymbol(joined, symbol);
}

CForexData* CSymbolData::GetForexData(const char* pair, const char* bank)
{
    if (!orv::symbol::IsForex(pair))
        return nullptr;
    const CString base(pair, 7);
    CForexData* data = nullptr;
    if (bank != nullptr && *bank != '\0') {
        CString key = base + bank;
        const int semicolon = key.Find(';');
        if (semicolon >= 0)
            key = key.Left(semicolon);
        key = key.Left(kForexKeyLimit);
        if (m_mapForex.Lookup(key, data))
            return data;
    }
    return m_mapForex.Lookup(base, data) ? data : nullptr;
}

int CSymbolData::GetForexPremiums(const char* pair, const char* bank, double& buy, double& sell)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, bank);
    if (data == nullptr)
        return 0;
    buy = data->m_dBuyPremium;
    sell = data->m_dSellPremium;
    return 1;
}

double CSymbolData::GetForexBuyPremium(const char* pair, const char* bank)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, bank);
    return data != nullptr ? data->m_dBuyPremium : 0.0;
}

double CSymbolData::GetForexSellPremium(const char* pair, const char* bank)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, bank);
    return data != nullptr ? data->m_dSellPremium : 0.0;
}

double CSymbolData::GetForexMarginMultiplier(const char* pair, const char* bank)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, bank);
    return data != nullptr ? data->m_dMarginRate : 1.0;
}

double CSymbolData::GetForexPipDecimal(const char* pair)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, nullptr);
    return data != nullptr ? data->m_dPipDecimal : 0.0;
}

int CSymbolData::GetForexPipPlaces(const char* pair)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, nullptr);
    return data != nullptr ? data->m_nPipPlaces : 0;
}

int CSymbolData::GetForexPipPlaces(const QUOTERECORD* record)
{
    if (record == nullptr || record->bstrSymbol == nullptr)
        return 0;
    const std::string symbol = platform::OleToCodePage(record->bstrSymbol);
    const int places = GetForexPipPlaces(symbol.c_str());
    if (places != 0)
        return places;
    const int fromPrices = std::max({CalcNumDecimalPlaces(record->dBid), CalcNumDecimalPlaces(record->dAsk),
                                     CalcNumDecimalPlaces(record->dLast)});
    return std::max(fromPrices, 0);
}

bool CSymbolData::IsForexLotMultiplierActive(const char* pair)
{
    CSectionLock lock(m_sect);
    const CForexData* data = GetForexData(pair, nullptr);
    return data != nullptr && data->m_bLotMultiplierActive;
}

void CSymbolData::MapSpotRate(CString pair, double rate)
{
    pair.Remove('/');
    CSectionLock lock(m_sect);
    double existing = 0.0;
    if (m_mapSpotRates.Lookup(pair, existing))
        return;
    m_mapSpotRates[pair] = rate;
    // A zero rate has no inverse; the reversed key then stays unknown (1.0).
    if (rate != 0.0)
        m_mapSpotRates[pair.Right(3) + pair.Left(3)] = 1.0 / rate;
}

double CSymbolData::GetSpotMultiplier(const char* symbol, const char* currency)
{
    CString key = orv::symbol::IsCanadian(symbol) ? "CAD" : "USD";
    key += currency != nullptr ? currency : "";
    CSectionLock lock(m_sect);
    double rate = 1.0;
    return m_mapSpotRates.Lookup(key, rate) ? rate : 1.0;
}

int CSymbolData::GetMinNumDecimalPlaces(const char* symbol)
{
    if (orv::symbol::IsForex(symbol))
        return GetForexPipPlaces(symbol);
    FUTURESDATA data;
    if (orv::symbol::IsFutures(symbol) && LookUpFutures(symbol, data) && data.nDisplayFormat > 0)
        return data.nDisplayFormat;
    return 2;
}

// ----------------------------------------------------------- futures

int CSymbolData::GetFutureRoot(const char* symbol, CString& root)
{
    if (!orv::symbol::IsFutures(symbol))
        return 0;
    CSectionLock lock(m_sect);
    FUTURESDATA* data = nullptr;
    if (m_mapFutures.Lookup(symbol, data)) {
        root = symbol;
        return 1;
    }
    const std::size_t length = std::strlen(symbol);
    if (length >= 4 && length <= 9)
        root = CString(symbol, static_cast<int>(length - 2));
    return 1;
}

bool CSymbolData::LookUpFutures(const char* symbol, FUTURESDATA& data)
{
    CSectionLock lock(m_sect);
    CString root;
    if (!GetFutureRoot(symbol, root))
        return false;
    FUTURESDATA* found = nullptr;
    if (!m_mapFutures.Lookup(root, found))
        return false;
    data = *found;
    return true;
}

int CSymbolData::GetExchangeForFutureRoot(const char* symbol, CString& exchange)
{
    FUTURESDATA data;
    if (!LookUpFutures(symbol, data) || data.sExchange.IsEmpty())
        return 0;
    exchange = data.sExchange;
    return 1;
}

double CSymbolData::GetIntradayMarginForFutureRoot(const char* symbol)
{
    FUTURESDATA data;
    return LookUpFutures(symbol, data) ? data.dIntradayMargin : 0.0;
}

double CSymbolData::GetOvernightMarginForFutureRoot(const char* symbol)
{
    FUTURESDATA data;
    return LookUpFutures(symbol, data) ? data.dOvernightMargin : 0.0;
}

double CSymbolData::GetOvernightMaintForFutureRoot(const char* symbol)
{
    FUTURESDATA data;
    return LookUpFutures(symbol, data) ? data.dOvernightMaint : 0.0;
}

double CSymbolData::GetIncrementForFutureRoot(const char* symbol)
{
    FUTURESDATA data;
    return LookUpFutures(symbol, data) ? data.dIncrement : 1.0;
}

int CSymbolData::GetDisplayFormatForFutureRoot(const char* symbol)
{
    FUTURESDATA data;
    return LookUpFutures(symbol, data) ? data.nDisplayFormat : 0;
}

int CSymbolData::GetContractSize(const char* symbol)
{
    if (symbol == nullptr)
        return 1;
    if (orv::symbol::IsFutures(symbol)) {
        FUTURESDATA data;
        return LookUpFutures(symbol, data) ? data.nContractSize : 1;
    }
    if (orv::symbol::IsOption(symbol))
        return 100;
    if (std::strlen(symbol) == 7 && symbol[3] == '/')
        return 10000;
    return 1;
}

void CSymbolData::GetFuturesRootMapForEsignal(CMapStringToString& target)
{
    target.RemoveAll();
    CSectionLock lock(m_sect);
    POSITION position = m_mapEsignalRoots.GetStartPosition();
    while (position != nullptr) {
        CString root;
        CString vendorRoot;
        m_mapEsignalRoots.GetNextAssoc(position, root, vendorRoot);
        target[root] = vendorRoot;
        target[vendorRoot] = root;
    }
}

const double& CSymbolData::GetRiskFreeIntRate() const
{
    return m_dRiskFreeIntRate;
}

// ------------------------------------------------------ version stamp

unsigned int GetXMLFileChecksum(const char* fileName)
{
    if (fileName == nullptr)
        return 0;
    // A bare name lies in the data folder. Natively '/' separates folders
    // as well as '\'.
    const bool bare = std::strchr(fileName, '\\') == nullptr
#if !defined(_WIN32)
                      && std::strchr(fileName, '/') == nullptr
#endif
        ;
    const CString path = bare ? GetDataPath(fileName) : CString(fileName);
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr)
        return 0;
    char line[kChecksumLineLimit + 1] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read)
        return 0;
    const char* open = std::strstr(line, "<Checksum>");
    if (open == nullptr)
        return 0;
    open += std::strlen("<Checksum>");
    const char* close = std::strstr(open, "</Checksum>");
    if (close == nullptr)
        return 0;
    const std::string digits(open, close);
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 16);
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned int>(value);
}
