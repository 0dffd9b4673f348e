// The light commands through a real command line: what each command mode places, the result
// Run answers, the model-space check, the preview that follows the cursor, and LightTracker.
#include "ModuleHostFixture.h"

#include <vector>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/host/HostMessage.h>

#include "frame/command_creators.h"
#include "light/LightCmd.h"
#include "light/LightTracker.h"

namespace {

OdGePoint3d pt(double x, double y, double z)
{
    return OdGePoint3d(x, y, z);
}

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

TEST_F(LightCommand, EachModeSetsItsTypeAndTargetAndEmptyAnswersGiveTheDefaultPlaces)
{
    struct Row {
        LightCommandMode mode;
        OdGiDrawable::DrawableType type;
        bool hasTarget;
        const char* name;
    };
    const Row rows[] = {
        {kDistantLightMode, OdGiDrawable::kDistantLight, false, "Distant light 1"},
        {kPointLightMode, OdGiDrawable::kPointLight, false, "Point light 1"},
        {kSpotLightMode, OdGiDrawable::kSpotLight, true, "Spotlight 1"},
        {kWebLightMode, OdGiDrawable::kWebLight, true, "Weblight 1"},
        {kTargetPointMode, OdGiDrawable::kPointLight, true, "Point light 2"},
        {kFreeSpotMode, OdGiDrawable::kSpotLight, false, "Spotlight 2"},
        {kFreeWebMode, OdGiDrawable::kWebLight, false, "Weblight 2"},
    };
    for (const Row& row : rows) {
        // Location (or from), target (or to) where asked, and the option loop: all Enter.
        EXPECT_EQ(run(row.mode, "\n\n\n"), 0) << row.mode;
        const OdDbLightPtr light = lights().back();
        EXPECT_EQ(light->lightType(), row.type) << row.mode;
        EXPECT_EQ(light->hasTarget(), row.hasTarget) << row.mode;
        EXPECT_EQ(light->name().toUtf8(), row.name);
        EXPECT_EQ(light->position(), pt(0, 0, 0)) << row.mode;
        EXPECT_EQ(light->layerId(), db->getCLAYER()) << "the drawing's defaults: " << row.mode;
        if (row.type == OdGiDrawable::kDistantLight) {
            EXPECT_EQ(light->targetLocation(), pt(1, 1, 1));
        } else if (row.hasTarget) {
            EXPECT_EQ(light->targetLocation(), pt(0, 0, -10)) << row.mode;
        }
    }
    EXPECT_EQ(lights().size(), 7u);
}

TEST_F(LightCommand, TheTargetDefaultsBelowTheSourceAndEscThereAimsFromTheOrigin)
{
    EXPECT_EQ(run(kSpotLightMode, "5,7,3\n\n\n"), 0);
    EXPECT_EQ(lights().back()->targetLocation(), pt(5, 7, -10));
    EXPECT_EQ(run(kSpotLightMode, "5,7,3\n!cancel\n\n"), 0);
    EXPECT_EQ(lights().back()->position(), pt(5, 7, 3));
    EXPECT_EQ(lights().back()->targetLocation(), pt(0, 0, -10));
    // A relative target is measured from the source.
    EXPECT_EQ(run(kWebLightMode, "1,1,1\n@0,0,-4\n\n"), 0);
    EXPECT_EQ(lights().back()->targetLocation(), pt(1, 1, -3));
    // Esc at "to" keeps the target a new light has.
    EXPECT_EQ(run(kDistantLightMode, "2,2,2\n!cancel\n\n"), 0);
    EXPECT_EQ(lights().back()->targetLocation(), pt(0, 0, -10));
}

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

TEST_F(LightCommand, OnlyModelSpaceOrAModelSpaceViewportTakesLights)
{
    db->setSysVar(L"TILEMODE", OdResBuf::newRb(70, 0).get());
    db->setSysVar(L"CVPORT", OdResBuf::newRb(70, 1).get());
    EXPECT_FALSE(LightCmd::isModelSpaceActive(db.get()));
    EXPECT_EQ(run(kSpotLightMode, "\n\n\n"), 1);
    EXPECT_EQ(output(), "Command only valid in Model space\n");
    EXPECT_TRUE(lights().empty());

    db->setSysVar(L"CVPORT", OdResBuf::newRb(70, 2).get());
    EXPECT_TRUE(LightCmd::isModelSpaceActive(db.get()));
    EXPECT_EQ(run(kSpotLightMode, "\n\n\n"), 0);
    EXPECT_EQ(lights().size(), 1u) << "through a viewport the light still goes to model space";
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
        EXPECT_EQ(style, LightTracker::kPreviewStyle);
        EXPECT_EQ(flags, LightTracker::kPreviewFlags);
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
    EXPECT_EQ(preview.positions[0], pt(2, 3, 0));
    EXPECT_EQ(preview.positions[1], pt(4, 5, 0));
    // At the target prompt the cursor moves the target; the source stays where it was typed.
    EXPECT_EQ(preview.positions[2], pt(6, 7, 0));
    EXPECT_EQ(preview.targets[2], pt(8, 9, 0));
    EXPECT_TRUE(preview.shown().empty()) << "each preview is dropped when its prompt ends";
    const std::vector<OdDbLightPtr> placed = lights();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(preview.drawn[0], placed[0].get()) << "the light shown is the light appended";
    EXPECT_EQ(placed[0]->targetLocation(), pt(6, 7, -10)) << "Enter, not the last cursor place";
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
        EXPECT_FALSE(position.filterMessage(message, pt(9, 9, 9))) << other;
    }
    EXPECT_EQ(light->position(), pt(0, 0, 0));

    message.message = kTrackerMouseMove;
    EXPECT_TRUE(position.filterMessage(message, pt(1, 2, 3)));
    EXPECT_TRUE(target.filterMessage(message, pt(4, 5, 6)));
    EXPECT_TRUE(neither.filterMessage(message, pt(7, 7, 7)));
    EXPECT_EQ(light->position(), pt(1, 2, 3));
    EXPECT_EQ(light->targetLocation(), pt(4, 5, 6));

    vantrel::RecordingDrawer drawer;
    EXPECT_EQ(position.drawPreview(&drawer), 1);
    ASSERT_EQ(drawer.shown().size(), 1u);
    EXPECT_EQ(drawer.shown()[0].entity, light.get());
    EXPECT_EQ(drawer.shown()[0].style, 5);
    EXPECT_EQ(drawer.shown()[0].flags, 768u);
    position.releasePreview(&drawer);
    EXPECT_TRUE(drawer.shown().empty());
}
