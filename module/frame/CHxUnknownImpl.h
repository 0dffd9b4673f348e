// The reference-counted base of the module's object commands: it answers the IHxUnknown part of
// the command protocol and leaves the command's own operations to the command class.
#pragma once

#include <cassert>
#include <cstdint>
#include <type_traits>
#include <typeinfo>

#include <vantrel/host/CmdProtocol.h>

template <class Interface>
class CHxUnknownImpl : public Interface {
    // Command objects are the only objects the module hands to the host.
    static_assert(std::is_base_of_v<ICmdProcess, Interface>);

public:
    // The interface operations only forward, so that a command class can change what they do
    // by overriding doAddRef, doRelease and doQueryInterface.
    std::uint32_t AddRef() final { return doAddRef(); }
    std::uint32_t Release() final { return doRelease(); }
    bool QueryInterface(const std::type_info& interfaceType, void** out) final
    {
        return doQueryInterface(interfaceType, out);
    }

    std::int32_t GetStatus() override { return 0; }
    int QueryFlagA() override { return 0; }

    // Declared after the interface operations: the host finds them by their place.
    virtual ~CHxUnknownImpl() = default;

    CHxUnknownImpl(const CHxUnknownImpl&) = delete;
    CHxUnknownImpl& operator=(const CHxUnknownImpl&) = delete;

    std::uint32_t referenceCount() const { return m_refs; }

protected:
    // A new command belongs to whoever created it: one reference.
    CHxUnknownImpl() = default;

    virtual std::uint32_t doAddRef() { return ++m_refs; }

    virtual std::uint32_t doRelease()
    {
        assert(m_refs > 0 && "a command object was released more often than referenced");
        if (--m_refs > 0)
            return m_refs;
        delete this;
        return 0;
    }

    // IHxUnknown and the command interface are answered; ICmdRun, though implemented, is not,
    // because the host never asks a command for its run part alone.
    virtual bool doQueryInterface(const std::type_info& interfaceType, void** out)
    {
        void* answer = nullptr;
        if (interfaceType == typeid(IHxUnknown))
            answer = static_cast<IHxUnknown*>(this);
        else if (interfaceType == typeid(Interface))
            answer = static_cast<Interface*>(this);
        if (answer && out)
            doAddRef();
        if (out)
            *out = answer;
        return answer != nullptr;
    }

private:
    std::uint32_t m_refs = 1;
};
