// The commands the command line knows: object and function commands that modules register
// through ICmdFactory, and the host's own commands. Names are matched without regard to case.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/host/CmdProtocol.h>
#include <vantrel/host/HostExport.h>

class HostDocument;

namespace vantrel {

class VANTREL_HOST_EXPORT CommandRegistry {
public:
    enum class Kind { Object, Function, Host };

    struct Command {
        Kind kind = Kind::Host;
        std::wstring name;  // as registered
        std::wstring group; // function commands only
        std::uint32_t flags = 0;
        CommandCreator creator = nullptr;
        CommandEntry entry = nullptr;
        std::function<void(HostDocument&)> body;
        // False for commands that work on the undo history itself (U, REDO): they run outside
        // the undo group that every other command gets.
        bool undoGroup = true;
    };

    // The registry of the process: modules register while they are loaded, which may be before
    // any application object exists.
    static CommandRegistry& global();

    // A later registration of a name replaces the earlier one. Empty names and null functions
    // are refused with OdError(eInvalidInput).
    void addObjectCommand(std::wstring_view name, CommandCreator creator);
    void addFunctionCommand(std::wstring_view group, std::wstring_view name, std::uint32_t flags, CommandEntry entry);
    void addHostCommand(std::wstring_view name, std::function<void(HostDocument&)> body, bool undoGroup = true);

    // The command of that name, whatever its case; null when there is none.
    const Command* find(std::wstring_view name) const;
    // Registered names as registered, sorted without regard to case.
    std::vector<std::wstring> names() const;

    // The upper-case form names are compared in.
    static std::wstring key(std::wstring_view name);
    // The command name a typed line gives: without blanks around it and without one `_` and one
    // `.` in front (in either order).
    static std::wstring_view nameOf(std::wstring_view line);

private:
    void add(Command command);

    std::map<std::wstring, Command> m_commands;
};

} // namespace vantrel
