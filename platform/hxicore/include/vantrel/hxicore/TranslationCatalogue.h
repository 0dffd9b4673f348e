// A translation catalogue: source texts and their translations, read from a UTF-8 file of
// "source<TAB>translation" lines. The process has one active catalogue (or none).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include <vantrel/hxicore/HxicoreExport.h>

namespace vantrel {

// File format: one entry per line, source and translation separated by one TAB; in both the
// escapes \n \t \\ \" stand for a line break, a tab, a backslash and a double quote. Blank
// lines and lines starting with '#' are skipped. A translation must keep the printf
// conversions of its source in order (so that formatting a translated resource cannot fail
// where the source would not).
class VANTREL_HXICORE_EXPORT TranslationCatalogue {
public:
    // Both raise OdError naming the file and line for a malformed entry, a duplicate source
    // or a translation that changes the conversions; readFile also when the file cannot be read.
    static TranslationCatalogue readFile(const std::string& utf8Path);
    static TranslationCatalogue parse(std::string_view utf8Text, std::string_view sourceName);

    // The translation of `source`, or null.
    const std::wstring* find(const std::wstring& source) const;
    std::size_t size() const { return m_entries.size(); }

private:
    std::unordered_map<std::wstring, std::wstring> m_entries;
};

// The active catalogue; at first use it is read from the file that the environment variable
// VANTREL_CATALOGUE names (none when unset or empty). A catalogue that cannot be read is
// reported once on standard error and not used.
VANTREL_HXICORE_EXPORT std::shared_ptr<const TranslationCatalogue> activeCatalogue();

// Replaces the active catalogue (std::nullopt: none); for a host that chooses its catalogue.
VANTREL_HXICORE_EXPORT void installCatalogue(std::optional<TranslationCatalogue> catalogue);

// The printf conversions of a format, in order ("%-5.2f of %s" gives L"fs"); "%%" is none.
VANTREL_HXICORE_EXPORT std::wstring printfConversions(std::wstring_view format);

} // namespace vantrel
