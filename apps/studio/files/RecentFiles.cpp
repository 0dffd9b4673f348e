// Reading and writing the list of recent drawings as keys file1 ... file8 of a profile section.
#include "files/RecentFiles.h"

#include <algorithm>

namespace vantrel::studio {

namespace {
OdString keyOf(std::size_t n) { return OdString(L"file" + std::to_wstring(n + 1)); }
} // namespace

RecentFiles::RecentFiles(IProfile& profile) : m_section(profile.openSection(L"studio\\recent"))
{
    for (std::size_t n = 0; n < kMax; ++n)
        if (std::optional<OdString> file = m_section.getValue(keyOf(n)).asString(); file && !file->isEmpty())
            m_files.push_back(file->str());
}

void RecentFiles::add(const std::wstring& path)
{
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMax)
        m_files.resize(kMax);
    for (std::size_t n = 0; n < kMax; ++n)
        m_section.setValue(keyOf(n), CHxVariant(n < m_files.size() ? m_files[n] : std::wstring()));
}

} // namespace vantrel::studio
