// The command-object protocol between the host and a command module: reference-counted command
// objects driven through ICmdProcess, and the factory through which a module registers commands.
// The host calls these operations by their place in the interfaces, so their order is fixed.
#pragma once

#include <cstdint>
#include <typeinfo>

#include <vantrel/host/HostExport.h>

// The interfaces carry no virtual destructor: an object is destroyed only by the Release that
// drops its last reference, and the destructor's slot follows the interface operations.
class VANTREL_HOST_EXPORT IHxUnknown {
public:
    // Adds one reference; answers the new count.
    virtual std::uint32_t AddRef() = 0;
    // Drops one reference; answers the new count, destroying the object at zero.
    virtual std::uint32_t Release() = 0;
    // True, with the object stored in *out with one reference added (when out is not null), for
    // an interface the object answers; false with null stored otherwise.
    virtual bool QueryInterface(const std::type_info& interfaceType, void** out) = 0;

protected:
    ~IHxUnknown() = default;
};

class VANTREL_HOST_EXPORT ICmdRun : public IHxUnknown {
public:
    // 0 when the command finished, 1 when it failed or was cancelled.
    virtual int Run(int argument) = 0;

protected:
    ~ICmdRun() = default;
};

class VANTREL_HOST_EXPORT ICmdProcess : public ICmdRun {
public:
    // Status word values.
    static constexpr std::int32_t kStatusFinished = 0;
    static constexpr std::int32_t kStatusFailed = 1;
    static constexpr std::int32_t kStatusRunning = 2;

    virtual std::int32_t GetStatus() = 0;
    virtual int QueryFlagA() = 0;
    virtual int QueryFlagB() = 0;
    // 1 with the held context (one reference added) in *out; 0 and *out untouched when none.
    virtual int GetContext(IHxUnknown** out) = 0;
    // Holds the object (null holds nothing), releasing the one held before; answers 1.
    virtual int SetContext(IHxUnknown* context) = 0;

protected:
    ~ICmdProcess() = default;
};

// Stores a new command object holding one reference for the caller (null when it could not be
// made) and answers 1.
using CommandCreator = int (*)(ICmdProcess** out);
// Runs a function command to its end.
using CommandEntry = void (*)();

class VANTREL_HOST_EXPORT ICmdFactory {
public:
    // An object command: the creator is called for every run. The name is UTF-8.
    virtual void registerNamedCommand(const char* name, CommandCreator creator) = 0;
    // A function command in a group; the flags word is kept as the module gives it.
    virtual void registerGroupCommand(const wchar_t* group, const wchar_t* name, std::uint32_t flags,
                                      CommandEntry entry)
        = 0;
    // Drops the caller's reference to the factory; answers the new count.
    virtual std::uint32_t Release() = 0;

protected:
    ~ICmdFactory() = default;
};
