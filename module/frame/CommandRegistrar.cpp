// Registration of one command: a factory is acquired for it alone and released at once; without
// a factory the command stays unregistered and nothing is said.
#include "frame/CommandRegistrar.h"

#include <memory>

#include "frame/host_binding.h"

namespace vantrel {
namespace {

struct FactoryRelease {
    void operator()(ICmdFactory* factory) const { factory->Release(); }
};
using FactoryRef = std::unique_ptr<ICmdFactory, FactoryRelease>;

FactoryRef commandFactory()
{
    ICmdFactory* factory = nullptr;
    acquireCommandFactory(factory);
    return FactoryRef(factory);
}

} // namespace

CommandRegistrar::CommandRegistrar(const char* name, CommandCreator creator)
{
    if (FactoryRef factory = commandFactory())
        factory->registerNamedCommand(name, creator);
}

CommandRegistrar::CommandRegistrar(const wchar_t* group, const wchar_t* name, std::uint32_t flags, CommandEntry entry)
{
    if (FactoryRef factory = commandFactory())
        factory->registerGroupCommand(group, name, flags, entry);
}

} // namespace vantrel
