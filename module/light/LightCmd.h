// The seven light commands: one command object, whose mode says which kind of light it places
// and whether the light has a target. A run places a new light in model space: location (and
// target, or direction), the option loop of its type, then the light is appended.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLight.h>

#include "frame/CHxUnknownImpl.h"
#include "frame/HeldContext.h"

class HostEditor;

// The mode of each command (its registration passes it to the creator).
enum LightCommandMode : std::int32_t {
    kDistantLightMode = 1,  // "distantlight"
    kPointLightMode = 2,    // "pointlight"
    kSpotLightMode = 3,     // "spotlight"
    kWebLightMode = 10,     // "weblight"
    kTargetPointMode = 100, // "targetpoint": a point light with a target
    kFreeSpotMode = 101,    // "freespot": a spot light without a target
    kFreeWebMode = 102,     // "freeweb": a web light without a target
};

class LightCmd : public CHxUnknownImpl<ICmdProcess> {
public:
    // String resources of the placement prompts.
    static constexpr unsigned kSourcePrompt = 156;
    static constexpr unsigned kTargetPrompt = 172;
    static constexpr unsigned kDirectionFromPrompt = 184;
    static constexpr unsigned kDirectionToPrompt = 185;
    // The target z of a light whose target was not given.
    static constexpr double kDefaultTargetZ = -10.0;

    explicit LightCmd(LightCommandMode mode) : m_mode(mode) {}

    // Places a light (argument 0): 0 when it was added to model space, 1 when not (not in
    // model space, cancelled, model space not writable). With another argument: 1, nothing done.
    int Run(int argument) override;
    std::int32_t GetStatus() override { return m_status; }
    int QueryFlagB() override { return 1; }
    int GetContext(IHxUnknown** out) override { return m_context.get(out); }
    int SetContext(IHxUnknown* context) override { return m_context.set(context); }
    // The host's run with an argument: nothing to do.
    virtual int RunWithArgument(int argument);

    LightCommandMode mode() const { return m_mode; }

    // Whether new lights may be placed: model space is current, or a model-space viewport of
    // a layout is active (CVPORT above 1).
    static bool isModelSpaceActive(OdDbDatabase* db);

private:
    // The light type and has-target flag of the mode.
    void setUpLight();
    // The dialogue of a distant light (from, to) and of the other lights (location, target);
    // false when cancelled.
    bool askDirection();
    bool askLocation();
    // Appends the light to model space under its name (the default name when it has none).
    int postLight(OdDbDatabase* db);

    vantrel::HeldContext m_context;
    std::int32_t m_status = kStatusFinished;
    HostEditor* m_editor = nullptr;
    OdDbLightPtr m_light;
    LightCommandMode m_mode;
};
