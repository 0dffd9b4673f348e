// One row of the module's command table: constructed as a static object when the module is
// attached, it registers its command with the host's command factory, if there is one.
#pragma once

#include <cstdint>

#include <vantrel/host/CmdProtocol.h>

namespace vantrel {

class CommandRegistrar {
public:
    // An object command, by its UTF-8 name.
    CommandRegistrar(const char* name, CommandCreator creator);
    // A function command of a group.
    CommandRegistrar(const wchar_t* group, const wchar_t* name, std::uint32_t flags, CommandEntry entry);
    // Nothing is unregistered when the module is detached.
    ~CommandRegistrar() = default;
    CommandRegistrar(const CommandRegistrar&) = delete;
    CommandRegistrar& operator=(const CommandRegistrar&) = delete;
};

} // namespace vantrel
