// Reading translation catalogues and holding the process's active one.
#include <vantrel/hxicore/TranslationCatalogue.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>

#include <fmt/format.h>

#include <vantrel/db/OdError.h>
#include <vantrel/db/OdString.h>

namespace vantrel {
namespace {

std::optional<std::string> unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

[[noreturn]] void fail(std::string_view sourceName, std::size_t line, std::string_view what)
{
    throw OdError(eInvalidInput, fmt::format("{}:{}: {}", sourceName, line, what));
}

} // namespace

std::wstring printfConversions(std::wstring_view format)
{
    std::wstring conversions;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            ++i;
            continue;
        }
        ++i;
        while (i < format.size()
               && std::wstring_view(L"-+ #0123456789.*hlLqjzt").find(format[i]) != std::wstring_view::npos)
            ++i;
        conversions += i < format.size() ? format[i] : L'?';
    }
    return conversions;
}

TranslationCatalogue TranslationCatalogue::parse(std::string_view utf8Text, std::string_view sourceName)
{
    TranslationCatalogue catalogue;
    std::size_t lineNumber = 0;
    while (!utf8Text.empty()) {
        ++lineNumber;
        std::size_t end = utf8Text.find('\n');
        std::string_view line = utf8Text.substr(0, end);
        utf8Text = end == std::string_view::npos ? std::string_view() : utf8Text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;

        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos)
            fail(sourceName, lineNumber, "expected a source text and its translation separated by one TAB");
        auto source = unescape(line.substr(0, tab));
        auto translation = unescape(line.substr(tab + 1));
        if (!source || !translation)
            fail(sourceName, lineNumber, "unknown escape (only \\n \\t \\\\ \\\" are known)");
        if (source->empty())
            fail(sourceName, lineNumber, "empty source text");

        std::wstring wideSource = OdString::fromUtf8(*source).str();
        std::wstring wideTranslation = OdString::fromUtf8(*translation).str();
        if (printfConversions(wideSource) != printfConversions(wideTranslation))
            fail(sourceName, lineNumber, "the translation changes the % conversions of its source");
        if (!catalogue.m_entries.emplace(std::move(wideSource), std::move(wideTranslation)).second)
            fail(sourceName, lineNumber, "this source text was translated before");
    }
    return catalogue;
}

TranslationCatalogue TranslationCatalogue::readFile(const std::string& utf8Path)
{
    std::ifstream in(utf8Path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf()) || in.bad())
        throw OdError(eFileError, fmt::format("{}: cannot read the translation catalogue", utf8Path));
    return parse(text.str(), utf8Path);
}

const std::wstring* TranslationCatalogue::find(const std::wstring& source) const
{
    auto it = m_entries.find(source);
    return it == m_entries.end() ? nullptr : &it->second;
}

namespace {

std::mutex g_catalogueMutex;
bool g_catalogueChosen = false;
std::shared_ptr<const TranslationCatalogue> g_catalogue;

std::shared_ptr<const TranslationCatalogue> catalogueFromEnvironment()
{
    const char* path = std::getenv("VANTREL_CATALOGUE");
    if (!path || !*path)
        return nullptr;
    try {
        return std::make_shared<const TranslationCatalogue>(TranslationCatalogue::readFile(path));
    } catch (const OdError& e) {
        std::cerr << "vantrel: translation catalogue not used: " << e.what() << '\n';
        return nullptr;
    }
}

} // namespace

std::shared_ptr<const TranslationCatalogue> activeCatalogue()
{
    std::lock_guard lock(g_catalogueMutex);
    if (!g_catalogueChosen) {
        g_catalogue = catalogueFromEnvironment();
        g_catalogueChosen = true;
    }
    return g_catalogue;
}

void installCatalogue(std::optional<TranslationCatalogue> catalogue)
{
    std::lock_guard lock(g_catalogueMutex);
    g_catalogue = catalogue ? std::make_shared<const TranslationCatalogue>(std::move(*catalogue)) : nullptr;
    g_catalogueChosen = true;
}

} // namespace vantrel
