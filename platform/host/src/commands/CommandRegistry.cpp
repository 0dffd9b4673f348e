// The command table behind the command line and ICmdFactory.
#include <vantrel/host/CommandRegistry.h>

#include <cwctype>

#include <vantrel/db/OdError.h>
#include <vantrel/host/InputSyntax.h>

namespace vantrel {

CommandRegistry& CommandRegistry::global()
{
    static CommandRegistry registry;
    return registry;
}

std::wstring CommandRegistry::key(std::wstring_view name)
{
    std::wstring k(name);
    for (wchar_t& c : k)
        c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
    return k;
}

std::wstring_view CommandRegistry::nameOf(std::wstring_view line)
{
    std::wstring_view name = InputSyntax::trim(line);
    bool underscore = false, dot = false;
    while (!name.empty()) {
        if (name.front() == L'_' && !underscore)
            underscore = true;
        else if (name.front() == L'.' && !dot)
            dot = true;
        else
            break;
        name.remove_prefix(1);
    }
    return name;
}

void CommandRegistry::add(Command command)
{
    if (command.name.empty())
        throw OdError(eInvalidInput, "a command needs a name");
    std::wstring k = key(command.name);
    m_commands.insert_or_assign(std::move(k), std::move(command));
}

void CommandRegistry::addObjectCommand(std::wstring_view name, CommandCreator creator)
{
    if (!creator)
        throw OdError(eInvalidInput, "an object command needs a creator");
    Command c;
    c.kind = Kind::Object;
    c.name = name;
    c.creator = creator;
    add(std::move(c));
}

void CommandRegistry::addFunctionCommand(std::wstring_view group, std::wstring_view name, std::uint32_t flags,
                                         CommandEntry entry)
{
    if (!entry)
        throw OdError(eInvalidInput, "a function command needs an entry");
    Command c;
    c.kind = Kind::Function;
    c.name = name;
    c.group = group;
    c.flags = flags;
    c.entry = entry;
    add(std::move(c));
}

void CommandRegistry::addHostCommand(std::wstring_view name, std::function<void(HostDocument&)> body, bool undoGroup)
{
    if (!body)
        throw OdError(eInvalidInput, "a host command needs a body");
    Command c;
    c.kind = Kind::Host;
    c.name = name;
    c.body = std::move(body);
    c.undoGroup = undoGroup;
    add(std::move(c));
}

const CommandRegistry::Command* CommandRegistry::find(std::wstring_view name) const
{
    auto it = m_commands.find(key(name));
    return it == m_commands.end() ? nullptr : &it->second;
}

std::vector<std::wstring> CommandRegistry::names() const
{
    std::vector<std::wstring> out;
    out.reserve(m_commands.size());
    for (const auto& [k, c] : m_commands)
        out.push_back(c.name);
    return out;
}

} // namespace vantrel
