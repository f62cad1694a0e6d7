#include "services/AutoUpdateManifest.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"

#include "Kestrel.h"

namespace {

using Element = CExtensibleMarkupLanguageElement;

constexpr int kFailureLevel = 4;

// The manifest texts of each type, indexed by the type's value.
constexpr const char* kReleaseTypeNames[] = {"alpha", "beta", "rc", "release"};
constexpr const char* kReleaseTypeTexts[] = {"Alpha", "Beta", "RC", "Release"};
constexpr const char* kUpdateTypeNames[] = {"none", "silent", "optional", "forced"};
constexpr const char* kUpdateTypeTexts[] = {"None", "Silent", "Optional", "Forced"};
constexpr int kTypeCount = 4;
constexpr const char* kUnknownTypeText = "???";

int TypeFromText(const char* const (&names)[kTypeCount], const char* text) noexcept
{
    const CString value(text);
    for (int type = 0; type < kTypeCount; ++type) {
        if (value.CompareNoCase(names[type]) == 0) {
            return type;
        }
    }
    return -1;
}

// The first child of `parent` that is an element with exactly this tag, in
// document order. Other kinds of node never match, whatever their name.
const Element* FindChildElement(const Element* parent, const char* tag)
{
    if (parent == nullptr) {
        return nullptr;
    }
    DWORD index = 0;
    Element* child = nullptr;
    while (parent->GetNextChild(index, child)) {
        if (child != nullptr && child->GetType() == Element::typeElement && child->Tag() == tag) {
            return child;
        }
    }
    return nullptr;
}

// The attribute's value, or the empty text when it is missing.
CString AttributeOf(const Element& element, const char* name)
{
    CString value;
    element.GetAttributeByName(name, value);
    return value;
}

bool Fail(const char* message)
{
    HostLogFormat(kFailureLevel, "%s", message);
    return false;
}

} // namespace

CAutoUpdateManifest::~CAutoUpdateManifest() = default;

int CAutoUpdateManifest::ReleaseTypeFromText(const char* text) noexcept
{
    return TypeFromText(kReleaseTypeNames, text);
}

int CAutoUpdateManifest::UpdateTypeFromText(const char* text) noexcept
{
    return TypeFromText(kUpdateTypeNames, text);
}

const char* CAutoUpdateManifest::ReleaseTypeDisplayText(int releaseType) noexcept
{
    return releaseType >= 0 && releaseType < kTypeCount ? kReleaseTypeTexts[releaseType] : kUnknownTypeText;
}

const char* CAutoUpdateManifest::UpdateTypeDisplayText(int updateType) noexcept
{
    return updateType >= 0 && updateType < kTypeCount ? kUpdateTypeTexts[updateType] : kUnknownTypeText;
}

bool CAutoUpdateManifest::ReadFromDocument(const CExtensibleMarkupLanguageDocument& document)
{
    const Element* manifest = FindChildElement(document.GetRootElement(), "CAutoUpdateManifest");
    if (manifest == nullptr) {
        return Fail("AutoUpdate failed: could not locate root element in manifest");
    }

    m_UrlOfUpdate = AttributeOf(*manifest, "UrlOfUpdate");
    if (m_UrlOfUpdate.IsEmpty()) {
        return Fail("AutoUpdate failed: could not locate UrlOfUpdate in manifest");
    }

    // Sizes may be written with thousands separators: "12,345,678".
    CString size;
    if (manifest->GetAttributeByName("SizeOfUpdate", size)) {
        size.Remove(',');
        m_SizeOfUpdate = OrvServices::ReadUnsignedDecimal(size);
    }

    // An unknown type text keeps the default.
    const int releaseType = ReleaseTypeFromText(AttributeOf(*manifest, "ReleaseType"));
    if (releaseType != releaseUnknown) {
        m_ReleaseType = releaseType;
    }
    const int updateType = UpdateTypeFromText(AttributeOf(*manifest, "UpdateType"));
    if (updateType != updateUnknown) {
        m_UpdateType = updateType;
    }

    const Element* product = FindChildElement(manifest, "Product");
    if (product == nullptr) {
        return Fail("AutoUpdate failed: could not locate Product element in manifest");
    }
    m_ProductName = AttributeOf(*product, "Name");
    if (m_ProductName.IsEmpty()) {
        return Fail("AutoUpdate failed: missing Product.Name in manifest");
    }
    const CString version = AttributeOf(*product, "Version");
    if (version.IsEmpty()) {
        return Fail("AutoUpdate failed: missing Product.Version in manifest");
    }
    m_Version.Parse(version);
    if (m_Version.IsEmpty()) {
        return Fail("AutoUpdate failed: unable to parse Product.Version");
    }

    if (const Element* moreInfo = FindChildElement(manifest, "MoreInfo")) {
        m_MoreInfoText = AttributeOf(*moreInfo, "Text");
        m_MoreInfoHref = AttributeOf(*moreInfo, "Href");
    }
    return true;
}
