// Symbol reference data: CSymbolData (the library-wide instance), with
// CForexData (one forex pair, optionally per bank) and FUTURESDATA (one
// futures root). The data comes from the symbol data file, an XML document
// in the user's data folder.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/Map.h"
#include "framework/Section.h"
#include "framework/String.h"

struct QUOTERECORD;

// Foreign-exchange data of one pair, or of one pair at one bank.
class ORV_API CForexData {
public:
    double m_dBuyPremium = 0.0;
    double m_dSellPremium = 0.0;
    // The size of one pip, for example 0.0001.
    double m_dPipDecimal = 0.0;
    double m_dMarginRate = 1.0;
    // Decimals of one pip: 0.0001 gives 4, 0.01 gives 2.
    int m_nPipPlaces = 0;
    bool m_bLotMultiplierActive = true;
};

// Reference data of one futures root.
struct FUTURESDATA {
    CString sExchange;
    double dIncrement = 0.0;
    double dOvernightMargin = 0.0;
    double dOvernightMaint = 0.0;
    double dIntradayMargin = 0.0;
    int nContractSize = 0;
    // Price display format code: a count of decimals, or a fraction code
    // (17 to 24 and 32 to 34 are the apostrophe formats).
    int nDisplayFormat = 0;
};

// Written forms of the pairs mapped to their canonical pair, vendor roots
// and spot rates; the maps the instance keeps.
using CMapStringToForexData = CMap<CString, const char*, CForexData*, CForexData*>;
using CMapStringToFuturesData = CMap<CString, const char*, FUTURESDATA*, FUTURESDATA*>;
using CMapStringToDouble = CMap<CString, const char*, double, double>;

// Reference data about instruments other than plain equities: per-pair
// foreign-exchange data, per-root futures data, exchange rates between
// currencies and the risk-free interest rate. One instance serves the
// process (GetStaticInstance).
//
// Thread safety: every lookup takes the instance's lock. LoadXML reads and
// parses the file without the lock into a separate instance and then swaps
// the content in under the lock, so lookups on other threads see either the
// old content or the new one, never a half-loaded or freed one. Clear
// likewise detaches the content under the lock and frees it after.
// GetRiskFreeIntRate returns a reference that is read without the lock.
class ORV_API CSymbolData {
public:
    CSymbolData();
    ~CSymbolData();
    CSymbolData(const CSymbolData&) = delete;
    CSymbolData& operator=(const CSymbolData&) = delete;

    // The library-wide instance, built when the library loads.
    static CSymbolData& GetStaticInstance();

    // The user name that selects the per-user file.
    void SetUserName(const char* userName);
    // The data folder joined with "<user name>-OrvSymbolData.xml".
    CString GetXMLPath() const;
    // Replaces the content with the per-user file, or else the shared
    // "SymbolData.xml" in the data folder. 0 when neither can be opened
    // (content empty, nothing logged) or the file is empty or unreadable
    // (logged at level 4); 1 when a file was read, even when it does not
    // parse (content then empty).
    int LoadXML();
    // Writes text unchanged as the per-user file. The file is replaced
    // whole: on failure the previous file stays as it was, and the failure
    // is logged at level 4.
    void WriteXML(const CString& text);
    // The version stamp on the first line of the per-user file, 0 when none.
    unsigned int GetXMLFileChecksum();
    // Deletes all entries of all maps and empties the pair list.
    void Clear();

    // Copies the canonical pairs, in file order; 0 (target untouched) when
    // there are none.
    int GetAllForexSymbols(CStringArray& symbols);
    // The canonical pair for a written form (EURUSD, USD/EUR, ...); non-zero
    // when known.
    int GetProperForexSymbol(const char* text, CString& symbol);
    // The same for the two texts joined.
    int GetProperForexSymbol(const char* first, const char* second, CString& symbol);

    // Forex data of a pair, at a bank when given (see GetForexData). The
    // defaults when there is no data: premiums 0, margin multiplier 1.0,
    // pip decimal 0, pip places 0, lot multiplier false.
    int GetForexPremiums(const char* pair, const char* bank, double& buy, double& sell);
    double GetForexBuyPremium(const char* pair, const char* bank = nullptr);
    double GetForexSellPremium(const char* pair, const char* bank = nullptr);
    double GetForexMarginMultiplier(const char* pair, const char* bank = nullptr);
    double GetForexPipDecimal(const char* pair);
    int GetForexPipPlaces(const char* pair);
    // The pip places of the record's symbol when the file gives them, else
    // the most decimals that its bid, ask or last needs (at least 0); 0 for
    // a null record or symbol.
    int GetForexPipPlaces(const QUOTERECORD* record);
    bool IsForexLotMultiplierActive(const char* pair);

    // The spot rate from USD (CAD for a Canadian symbol) to the currency;
    // 1.0 when unknown.
    double GetSpotMultiplier(const char* symbol, const char* currency);
    // Forex: the pip places; futures with a known root and a positive
    // display format: that format; anything else 2.
    int GetMinNumDecimalPlaces(const char* symbol);

    // The root of a futures symbol: the symbol itself when it is a root in
    // the file, else (4 to 9 characters) the symbol without its last two
    // (/ESZ2 gives /ES); other lengths leave root unchanged. 0 when the
    // symbol is not a futures symbol.
    int GetFutureRoot(const char* symbol, CString& root);
    // Futures data of the symbol's root. Non-zero only when found and not
    // empty.
    int GetExchangeForFutureRoot(const char* symbol, CString& exchange);
    double GetIntradayMarginForFutureRoot(const char* symbol);
    double GetOvernightMarginForFutureRoot(const char* symbol);
    double GetOvernightMaintForFutureRoot(const char* symbol);
    // 1.0 when unknown.
    double GetIncrementForFutureRoot(const char* symbol);
    int GetDisplayFormatForFutureRoot(const char* symbol);
    // Futures: the root's contract size (0 when the file gave none; 1 for an
    // unknown root); options 100; a seven-character pair 10000; else 1.
    int GetContractSize(const char* symbol);

    // Empties target, then stores each root under its vendor root and each
    // vendor root under its root.
    void GetFuturesRootMapForEsignal(CMapStringToString& target);
    const double& GetRiskFreeIntRate() const;

protected:
    // Stores the rate under the pair without "/" (USDJPY) and its inverse
    // under the reversed key (JPYUSD), unless the key is already present.
    void MapSpotRate(CString pair, double rate);
    // The data of a pair's first seven characters, at the bank when one is
    // given and known (pair and bank joined, cut at the first ";" and at 16
    // characters), else of the pair alone. Null for a text that is not a
    // forex pair. Callers hold the lock.
    CForexData* GetForexData(const char* pair, const char* bank);

private:
    class Loader;
    friend class Loader;

    // The futures data of the symbol's root under the lock, copied out;
    // false when unknown.
    bool LookUpFutures(const char* symbol, FUTURESDATA& data);
    // Exchanges all content (maps, list, rate) with other's, under this
    // instance's lock.
    void SwapContent(CSymbolData& other);
    // Frees the entries of the maps and empties them; no locking.
    void DeleteContent();

    CMapStringToFuturesData m_mapFutures;
    CMapStringToForexData m_mapForex;
    CMapStringToString m_mapForexAlias;
    CMapStringToString m_mapEsignalRoots;
    CMapStringToDouble m_mapSpotRates;
    CStringArray m_arrForexSymbols;
    CSection m_sect;
    CString m_sUserName;
    double m_dRiskFreeIntRate = 0.019;

    static CSymbolData sm_staticInstance;
};

// The version stamp "<Checksum>hex digits</Checksum>" on the first line
// (at most 127 characters) of a file, as an unsigned number; 0 when the
// file, the line or either marker is missing. A name without a path
// separator is taken inside the data folder. Hex digits beyond 32 bits give
// 0xFFFFFFFF.
ORV_API unsigned int GetXMLFileChecksum(const char* fileName);
