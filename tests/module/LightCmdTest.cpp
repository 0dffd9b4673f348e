// The light commands through a real command line: the result Run answers, the preview that
// follows the cursor, and LightTracker. What each command places (type, target, default name),
// Esc at each prompt and the model-space check are in the transcripts light_*.scr.
#include "ModuleHostFixture.h"

#include <vector>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/host/HostMessage.h>

#include "frame/command_creators.h"
#include "light/LightCmd.h"
#include "light/LightTracker.h"

namespace {

class LightCommand : public ModuleHostFixture {
protected:
    // Creates the command as the host does and runs it on the script; answers Run's result.
    int run(LightCommandMode mode, const std::string& script, int argument = 0)
    {
        app.reset();
        out.str("");
        start(script);
        LightCmd command(mode);
        EXPECT_EQ(command.GetStatus(), 0);
        const int result = command.Run(argument);
        EXPECT_EQ(command.GetStatus(), 0) << "the light commands never change their status";
        EXPECT_EQ(command.QueryFlagB(), 1);
        return result;
    }
    std::vector<OdDbLightPtr> lights() const
    {
        std::vector<OdDbLightPtr> found;
        OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject();
        for (auto it = model->newIterator(); !it->done(); it->step())
            if (OdDbLightPtr light = OdDbLight::cast(it->entity().get()))
                found.push_back(light);
        return found;
    }
};

} // namespace

TEST_F(LightCommand, RunAnswersOneWhenNothingIsAddedAndAnArgumentAsksNothing)
{
    ICmdProcess* created = nullptr;
    EXPECT_EQ((vantrel::createCommand<LightCmd, kFreeWebMode>(&created)), 1);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(static_cast<LightCmd*>(created)->mode(), kFreeWebMode);
    EXPECT_EQ(created->Release(), 0u);

    for (LightCommandMode mode : {kPointLightMode, kDistantLightMode}) {
        EXPECT_EQ(run(mode, "!cancel\n"), 1);
        const char* toTheLoop = mode == kDistantLightMode ? "\n\n" : "\n";
        EXPECT_EQ(run(mode, toTheLoop + std::string("!cancel\n")), 1) << "Esc in the option loop drops the light";
    }
    EXPECT_TRUE(lights().empty());

    EXPECT_EQ(run(kPointLightMode, "\n\n", 7), 1);
    EXPECT_EQ(output(), "") << "with an argument the command asks nothing";
    EXPECT_TRUE(lights().empty());
}

// Keeps where the light was each time the preview drew it (the host's rubber line aside).
class PositionDrawer : public vantrel::RecordingDrawer {
public:
    void addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t r1,
                   std::int32_t r2) override
    {
        RecordingDrawer::addEntity(entity, style, flags, r1, r2);
        OdDbLightPtr light = OdDbLight::cast(entity);
        if (!light)
            return;
        EXPECT_EQ(style, 5); // the values the host gives light previews
        EXPECT_EQ(flags, 768u);
        drawn.push_back(light.get());
        positions.push_back(light->position());
        targets.push_back(light->targetLocation());
    }

    std::vector<const OdDbLight*> drawn;
    std::vector<OdGePoint3d> positions;
    std::vector<OdGePoint3d> targets;
};

TEST_F(LightCommand, ThePreviewIsTheLightBeingPlacedFollowingTheCursor)
{
    PositionDrawer preview;
    start("!move 2,3\n!move 4,5\n6,7\n!move 8,9\n\n\n");
    document->engine().setDrawer(preview);
    LightCmd command(kTargetPointMode);
    EXPECT_EQ(command.Run(0), 0);
    ASSERT_EQ(preview.positions.size(), 3u);
    EXPECT_EQ(preview.positions[0], OdGePoint3d(2, 3, 0));
    EXPECT_EQ(preview.positions[1], OdGePoint3d(4, 5, 0));
    // At the target prompt the cursor moves the target; the source stays where it was typed.
    EXPECT_EQ(preview.positions[2], OdGePoint3d(6, 7, 0));
    EXPECT_EQ(preview.targets[2], OdGePoint3d(8, 9, 0));
    EXPECT_TRUE(preview.shown().empty()) << "each preview is dropped when its prompt ends";
    const std::vector<OdDbLightPtr> placed = lights();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(preview.drawn[0], placed[0].get()) << "the light shown is the light appended";
    EXPECT_EQ(placed[0]->targetLocation(), OdGePoint3d(6, 7, -10)) << "Enter, not the last cursor place";
}

TEST(LightTrackerTest, OnlyCursorMovesAreTakenAndTheyMoveWhatTheModeSays)
{
    OdDbLightPtr light = OdDbLight::createObject();
    LightTracker position(light, LightTracker::kMovePosition);
    LightTracker target(light, LightTracker::kMoveTarget);
    LightTracker neither(light, 7);
    HostMessage message;
    for (std::uint32_t other : {kTrackerLeftButtonDown, 256u, 273u}) {
        message.message = other;
        EXPECT_FALSE(position.filterMessage(message, OdGePoint3d(9, 9, 9))) << other;
    }
    EXPECT_EQ(light->position(), OdGePoint3d(0, 0, 0));

    message.message = kTrackerMouseMove;
    EXPECT_TRUE(position.filterMessage(message, OdGePoint3d(1, 2, 3)));
    EXPECT_TRUE(target.filterMessage(message, OdGePoint3d(4, 5, 6)));
    EXPECT_TRUE(neither.filterMessage(message, OdGePoint3d(7, 7, 7)));
    EXPECT_EQ(light->position(), OdGePoint3d(1, 2, 3));
    EXPECT_EQ(light->targetLocation(), OdGePoint3d(4, 5, 6));

    vantrel::RecordingDrawer drawer;
    EXPECT_EQ(position.drawPreview(&drawer), 1);
    ASSERT_EQ(drawer.shown().size(), 1u);
    EXPECT_EQ(drawer.shown()[0].entity, light.get());
    position.releasePreview(&drawer);
    EXPECT_TRUE(drawer.shown().empty());
}
