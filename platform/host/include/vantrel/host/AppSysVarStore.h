// The application's system variables: a declared table of names, value kinds, defaults and legal
// ranges, with the current values kept in the profile (section "sysvars") so they outlive a
// session. The drawing's own variables are in the database (SysVarStore).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <vantrel/db/OdResBuf.h>
#include <vantrel/db/OdString.h>
#include <vantrel/host/IProfile.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT AppSysVarDef {
    const char* name;
    int groupCode; // the value's kind as a DXF group code (70: 16-bit integer)
    std::int32_t defaultValue;
    std::int32_t minValue; // inclusive
    std::int32_t maxValue;
};

class VANTREL_HOST_EXPORT AppSysVarStore {
public:
    static constexpr const wchar_t* kSection = L"sysvars";

    explicit AppSysVarStore(IProfile& profile);

    static std::span<const AppSysVarDef> definitions();
    // Case-insensitive; nullptr for a name that is not an application variable.
    static const AppSysVarDef* find(const OdString& name);
    // "between 0 and 3": the legal values, for messages.
    static std::string legalValues(const AppSysVarDef& def);

    // The value from the profile, or the default when the profile has none or holds an illegal
    // value (someone edited the file; see profileProblems). Raises OdError(eUnknownSysVar) for an
    // unknown name.
    OdResBufPtr get(const OdString& name) const;
    // One line for each illegal value in the profile, naming the variable, the value and the
    // default that holds instead; the file keeps the value until the variable is set.
    std::vector<std::string> profileProblems() const;
    // Checks and stores the value: OdError(eUnknownSysVar) or OdError(eInvalidSysVarValue)
    // naming the variable and the legal range; the profile's OdError(eFileError) when it cannot
    // be saved.
    void set(const OdString& name, const OdResBuf& value);

private:
    std::optional<std::int32_t> profileValue(const AppSysVarDef& def, std::string* why) const;

    IProfileSection& m_section;
};

} // namespace vantrel
