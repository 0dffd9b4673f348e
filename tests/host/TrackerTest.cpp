// Trackers during a point request: cursor moves as message 512 followed by a preview, clicks as
// 513 that the tracker may take, character 13 posted from a tracker, the release of the preview
// when the request ends, and the host's rubber line.
#include "EditorFixture.h"

#include <vector>

#include <vantrel/db/OdDbLine.h>
#include <vantrel/host/HostEdPointTracker.h>

namespace {

// Follows the cursor with one line from an anchor, like the first stage of a solid.
class LineTracker : public HostEdPointTracker {
public:
    explicit LineTracker(const OdGePoint3d& anchor) : line(OdDbLine::createObject())
    {
        line->setStartPoint(anchor);
        line->setEndPoint(anchor);
    }

    bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor) override
    {
        messages.push_back(message.message);
        window = message.window;
        if (message.message == kTrackerMouseMove) {
            line->setEndPoint(cursor);
            if (postEnterAt && cursor == *postEnterAt)
                hostPostChar(message.window, 13);
            return true;
        }
        return message.message == kTrackerLeftButtonDown && takeClicks;
    }
    int drawPreview(HostEdDrawer* drawer) override
    {
        drawer->addEntity(line.get(), 1, 512, 0, 0);
        ++draws;
        return 1;
    }
    void releasePreview(HostEdDrawer* drawer) override
    {
        drawer->removeEntity(line.get());
        ++releases;
    }

    OdDbLinePtr line;
    std::vector<std::uint32_t> messages;
    HostWindowId window = 0;
    int draws = 0;
    int releases = 0;
    bool takeClicks = false;
    const OdGePoint3d* postEnterAt = nullptr;
};

} // namespace

using Trackers = EditorFixture;

TEST_F(Trackers, MovesUpdateThePreviewAndTheClickAnswers)
{
    LineTracker tracker(OdGePoint3d(0, 0, 0));
    script("!move 1,1\n!move 2,3\n!click 5,6\n");
    OdGePoint3d p;
    // The preview is asked for only from the first move, and shown once however often redrawn.
    EXPECT_EQ(tracker.draws, 0);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify second point", nullptr, 0, nullptr, &tracker), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(5, 6, 0));
    // A click away from the cursor moves it there first, as a mouse would.
    EXPECT_EQ(tracker.messages, (std::vector<std::uint32_t>{512, 512, 512, 513}));
    EXPECT_EQ(tracker.window, engine.window());
    EXPECT_EQ(tracker.draws, 3);
    EXPECT_EQ(tracker.line->endPoint(), OdGePoint3d(5, 6, 0));
    EXPECT_EQ(tracker.releases, 1);
    EXPECT_TRUE(drawer.shown().empty());
    EXPECT_EQ(drawer.addCalls(), 3u);
    EXPECT_EQ(output(), "Specify second point: !click 5,6\n");
}

TEST_F(Trackers, PreviewIsShownWithTheTrackersStyleWhileTheRequestIsOpen)
{
    LineTracker tracker(OdGePoint3d(0, 0, 0));
    script("!move 4,4\nabc\n!cancel\n");
    OdGePoint3d p(7, 7, 7);
    // Capture the drawer's state when the refused text comes in, from inside the request.
    struct Probe : vantrel::InputSource {
        vantrel::InputSource* inner;
        vantrel::RecordingDrawer* drawer;
        std::vector<std::size_t> shownCounts;
        vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
        {
            shownCounts.push_back(drawer->shown().size());
            return inner->next(prompt);
        }
    } probe;
    probe.inner = source.get();
    probe.drawer = &drawer;
    engine.setSource(probe);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point", nullptr, 0, nullptr, &tracker), kInputCancel);
    EXPECT_EQ(p, OdGePoint3d(7, 7, 7));
    EXPECT_EQ(probe.shownCounts, (std::vector<std::size_t>{0, 1, 1}));
    EXPECT_TRUE(drawer.shown().empty());
    EXPECT_EQ(tracker.releases, 1);
}

TEST_F(Trackers, ClickTakenByTheTrackerDoesNotAnswer)
{
    LineTracker tracker(OdGePoint3d(0, 0, 0));
    tracker.takeClicks = true;
    script("!move 1,1\n!click 1,1\n!click 2,2\n3,3\n");
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point", nullptr, 0, nullptr, &tracker), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(3, 3, 0));
    EXPECT_EQ(tracker.messages, (std::vector<std::uint32_t>{512, 513, 512, 513}));
    EXPECT_EQ(output(), "Point: 3,3\n");
}

TEST_F(Trackers, PostedCarriageReturnEndsTheRequestAsEnter)
{
    LineTracker tracker(OdGePoint3d(0, 0, 0));
    const OdGePoint3d closeAt(9, 9, 0);
    tracker.postEnterAt = &closeAt;
    script("!move 1,1\n!move 9,9\n5,5\n");
    OdGePoint3d p(1, 2, 3);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Next point", nullptr, kAcceptEmpty, nullptr, &tracker), kInputEmpty);
    EXPECT_EQ(p, OdGePoint3d(1, 2, 3));
    EXPECT_EQ(tracker.releases, 1);
    // The answer after it is left for the next request.
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Next point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(5, 5, 0));
    // With no request open a posted character reaches nothing.
    EXPECT_FALSE(hostPostChar(engine.window(), 13));
    EXPECT_FALSE(hostPostChar(0, 13));
    EXPECT_EQ(output(), "Next point: \nNext point: 5,5\n");
}

TEST_F(Trackers, BaseBehaviourAndRubberBand)
{
    HostEdPointTracker plain;
    HostMessage move;
    move.message = kTrackerMouseMove;
    EXPECT_FALSE(plain.filterMessage(move, OdGePoint3d()));
    EXPECT_EQ(plain.drawPreview(&drawer), 0);
    EXPECT_EQ(plain.dimensionCount(), 0);
    EXPECT_EQ(plain.dimensionInputMode(), 3);
    EXPECT_EQ(plain.dimensionDisplayMode(), 3);
    EXPECT_FALSE(plain.keepsPreview() || plain.drawsOwnRubberBand() || plain.previewBeforeMove());

    // kRubberBand with a base point: the host's own line from the base point to the cursor.
    const OdGePoint3d base(1, 1, 0);
    std::vector<OdGePoint3d> ends;
    struct Watch : vantrel::InputSource {
        vantrel::InputSource* inner;
        vantrel::RecordingDrawer* drawer;
        std::vector<OdGePoint3d>* ends;
        vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
        {
            for (const auto& s : drawer->shown())
                ends->push_back(OdDbLine::cast(s.entity)->endPoint());
            return inner->next(prompt);
        }
    } watch;
    script("!move 4,5\n!view 0,0 50,25\n2,2\n");
    watch.inner = source.get();
    watch.drawer = &drawer;
    watch.ends = &ends;
    engine.setSource(watch);
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(&base, p, L"To point", nullptr, 12, nullptr, &plain), kInputValue);
    EXPECT_EQ(ends, (std::vector<OdGePoint3d>{OdGePoint3d(4, 5, 0), OdGePoint3d(4, 5, 0)}));
    EXPECT_TRUE(drawer.shown().empty());
    EXPECT_EQ(drawer.viewExtents().maxPoint(), OdGePoint3d(50, 25, 0));
}
