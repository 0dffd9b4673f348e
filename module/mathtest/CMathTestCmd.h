// AD: the geometry self-test command. It intersects a picked ellipse with a picked circle by the
// module's own algebraic solver, prints the common points and joins two or more of them by a
// lightweight polyline.
#pragma once

#include <cstdint>

#include "frame/CHxUnknownImpl.h"
#include "frame/HeldContext.h"

class CMathTestCmd : public CHxUnknownImpl<ICmdProcess> {
public:
    // String resources of the prompts.
    static constexpr unsigned kSelectEllipsePrompt = 700;
    static constexpr unsigned kSelectCirclePrompt = 701;
    // Selection flags of both requests.
    static constexpr std::uint32_t kSelectionFlags = 8192;

    CMathTestCmd() = default;

    // Status 2 while the test runs; 0 and answer 0 when it ended, 1 and answer 1 when an
    // exception escaped it.
    int Run(int argument) override;
    std::int32_t GetStatus() override { return m_status; }
    int QueryFlagB() override { return 1; }
    int GetContext(IHxUnknown** out) override { return m_context.get(out); }
    int SetContext(IHxUnknown* context) override { return m_context.set(context); }

    // Selections, intersection, printed points and polyline. A cancelled selection or an object
    // of the wrong kind ends it quietly; any exception is reported with showCommandException.
    void TestIntersectEllepseWithCircle();

private:
    vantrel::HeldContext m_context;
    std::int32_t m_status = kStatusFinished;
};
