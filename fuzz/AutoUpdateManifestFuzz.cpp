// Reads an update manifest from every document that arbitrary bytes parse
// into. A reading that succeeds must give a usable record; reading the same
// document again must give the same answer.
//
// Each failed reading writes a line to the host log, so the target logs into
// a private folder and starts a fresh one every few thousand inputs, keeping
// the disk use small however long it runs.
#include "services/AutoUpdateManifest.h"

#include "XmlFuzzSupport.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

class CPrivateLogFolders {
public:
    CPrivateLogFolders()
    {
        char pattern[] = "/tmp/orv-manifest-fuzz-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_base = pattern;
        }
        Switch();
    }
    ~CPrivateLogFolders()
    {
        std::error_code ignored;
        if (!m_base.empty()) {
            std::filesystem::remove_all(m_base, ignored);
        }
    }

    // The host log closes the previous file when it next writes into the
    // other folder; the folder switched to is emptied first.
    void Next()
    {
        if (++m_inputs % 4096 == 0) {
            Switch();
        }
    }

private:
    void Switch()
    {
        if (m_base.empty()) {
            return;
        }
        m_current ^= 1;
        const std::filesystem::path folder = m_base / (m_current ? "b" : "a");
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        setenv("KESTREL_ROOT", folder.c_str(), 1);
    }

    std::filesystem::path m_base;
    int m_current = 0;
    unsigned m_inputs = 0;
};


bool IsType(int value)
{
    return value >= 0 && value <= 3;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CPrivateLogFolders logs;
    logs.Next();

    CExtensibleMarkupLanguageDocument document;
    if (!ParseFuzzBytes(document, data, size)) {
        return 0;
    }
    CAutoUpdateManifest manifest;
    const bool usable = manifest.ReadFromDocument(document);
    if (usable
        && (manifest.m_UrlOfUpdate.IsEmpty() || manifest.m_ProductName.IsEmpty() || manifest.m_Version.IsEmpty()
            || !IsType(manifest.m_ReleaseType) || !IsType(manifest.m_UpdateType))) {
        std::abort();
    }
    CAutoUpdateManifest again;
    if (again.ReadFromDocument(document) != usable || again.m_Version != manifest.m_Version
        || again.m_SizeOfUpdate != manifest.m_SizeOfUpdate || again.m_MoreInfoHref != manifest.m_MoreInfoHref) {
        std::abort();
    }
    return 0;
}
