// The host profile kept in a TOML file: one table per section, under the section name as a quoted
// key (so "cmddata\revcloud" stays one name). Every change is saved at once, atomically.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <vantrel/host/IProfile.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

// Saving: each setValue rewrites the whole file (temporary file beside it, fsync, rename), so a
// crash never costs a setting and a reader never sees half a file. A section that was only
// opened is written with the next change.
//
// Loading: a missing file is an empty profile. A file that cannot be read or parsed leaves the
// profile empty and loadError() names the file, line and reason; the file is left as it is
// until the first change, which first moves it aside to FILE.damaged and then writes FILE. What
// is not a regular file (a pipe, a device) is neither read nor written. A plain value where a
// section is used is a warning, and the file goes aside the same way before the section is saved.
//
// Values: integers (32-bit), reals, booleans and strings map to the CHxVariant kinds. Anything
// else in the file (arrays, dates, wider integers, keys outside sections) reads as empty and is
// written back unchanged. Names and keys are case-sensitive.
class VANTREL_HOST_EXPORT TomlProfile : public IProfile {
public:
    // Loads path (see above); never raises for a missing or damaged file.
    explicit TomlProfile(std::string path);
    ~TomlProfile() override;
    TomlProfile(const TomlProfile&) = delete;
    TomlProfile& operator=(const TomlProfile&) = delete;

    // $XDG_CONFIG_HOME/vantrel/profile.toml, or ~/.config/vantrel/profile.toml when
    // XDG_CONFIG_HOME is unset or not an absolute path.
    static std::string defaultPath();

    IProfileSection& openSection(const OdString& name) override;

    const std::string& path() const { return m_path; }
    // Why the file could not be loaded ("FILE:LINE:COLUMN: reason"); empty when it loaded.
    const std::string& loadError() const { return m_loadError; }
    // What of a loaded file is ignored, one line each ("FILE: reason").
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    class Section;
    struct Document; // the parsed file

    void save();

    std::string m_path;
    std::string m_loadError;
    std::vector<std::string> m_warnings;
    bool m_damagedFileInPlace = false;
    bool m_notRegular = false;
    std::unique_ptr<Document> m_doc;
    std::map<std::wstring, std::unique_ptr<Section>> m_sections;
};

} // namespace vantrel
