// The drawings opened or saved lately, newest first, kept in the profile's section
// "studio\recent" so that they outlive the session. No Qt here.
#pragma once

#include <string>
#include <vector>

#include <vantrel/host/IProfile.h>

namespace vantrel::studio {

class RecentFiles {
public:
    static constexpr std::size_t kMax = 8;

    explicit RecentFiles(IProfile& profile);

    const std::vector<std::wstring>& files() const { return m_files; }
    // Puts the file first (once) and keeps at most kMax.
    void add(const std::wstring& path);

private:
    IProfileSection& m_section;
    std::vector<std::wstring> m_files;
};

} // namespace vantrel::studio
