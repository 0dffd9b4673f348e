// The context object the host hands to an object command through SetContext: it names the
// document the command runs in. Commands only hold it and give it back.
#pragma once

#include <cstddef>
#include <cstdint>

#include <vantrel/host/CmdProtocol.h>
#include <vantrel/host/HostExport.h>

class HostDocument;

namespace vantrel {

class VANTREL_HOST_EXPORT HostCommandContext final : public IHxUnknown {
public:
    // A new context holding one reference for the caller.
    static HostCommandContext* create(HostDocument& document);

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    // Answers IHxUnknown only.
    bool QueryInterface(const std::type_info& interfaceType, void** out) override;

    // The document, or null once the run it was made for has ended (a command that kept a
    // reference must not reach a document that may be gone).
    HostDocument* document() const { return m_document; }
    void detach() { m_document = nullptr; }
    std::uint32_t referenceCount() const { return m_refs; }

    // Contexts not yet destroyed, for tests that a command gives back what it holds.
    static std::size_t liveCount();

private:
    explicit HostCommandContext(HostDocument& document);
    ~HostCommandContext();

    HostDocument* m_document;
    std::uint32_t m_refs = 1;
};

} // namespace vantrel
