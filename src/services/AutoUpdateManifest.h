// The published description of an update: CAutoUpdateManifest, with the
// release types and update types and their texts.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"
#include "services/Version.h"

class CExtensibleMarkupLanguageDocument;

// One update manifest as a record. The manifest document has this shape
// (names matched exactly, element order free, anything else ignored):
//
//   <CAutoUpdateManifest UrlOfUpdate="..." SizeOfUpdate="12,345"
//                        ReleaseType="release" UpdateType="optional">
//     <Product Name="..." Version="1.2.3.4"/>
//     <MoreInfo Text="..." Href="..."/>
//   </CAutoUpdateManifest>
//
// "UrlOfUpdate" and "Product" with a name and a non-zero version are
// required; "MoreInfo" is optional.
class ORV_API CAutoUpdateManifest {
public:
    // Release channels, as a manifest or the "ReleaseType" setting names them.
    enum ReleaseType : int {
        releaseUnknown = -1,
        releaseAlpha = 0,
        releaseBeta = 1,
        releaseRC = 2,
        releaseRelease = 3,
    };
    // How an update is offered; updateForced is the required update.
    enum UpdateType : int {
        updateUnknown = -1,
        updateNone = 0,
        updateSilent = 1,
        updateOptional = 2,
        updateForced = 3,
    };

    CAutoUpdateManifest() = default;
    ~CAutoUpdateManifest();

    // Fills the record from a parsed manifest document. True when the record
    // is usable. Each failure writes one line at level 4 to the host log and
    // returns false; the fields read before it keep their values.
    bool ReadFromDocument(const CExtensibleMarkupLanguageDocument& document);

    // "None", "Silent", "Optional", "Forced" / "Alpha", "Beta", "RC",
    // "Release", or "???" for a value outside the table.
    const char* GetUpdateTypeText() const noexcept { return UpdateTypeDisplayText(m_UpdateType); }
    const char* GetReleaseTypeText() const noexcept { return ReleaseTypeDisplayText(m_ReleaseType); }

    // The type a text names ("alpha", "beta", "rc", "release" / "none",
    // "silent", "optional", "forced", compared without case), or
    // releaseUnknown / updateUnknown.
    static int ReleaseTypeFromText(const char* text) noexcept;
    static int UpdateTypeFromText(const char* text) noexcept;
    static const char* ReleaseTypeDisplayText(int releaseType) noexcept;
    static const char* UpdateTypeDisplayText(int updateType) noexcept;

    int m_UpdateType = updateNone;
    int m_ReleaseType = releaseBeta;
    CString m_ProductName;
    CString m_UrlOfUpdate;
    CString m_MoreInfoText;
    CString m_MoreInfoHref;
    CVersion m_Version;
    DWORD m_SizeOfUpdate = 0;
};
