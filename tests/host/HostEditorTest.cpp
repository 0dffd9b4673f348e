// Every request kind through a script: values, refused text and the prompt again, Enter, cancel,
// keywords, free text by flags, and what the transcript shows.
#include "EditorFixture.h"

#include <numbers>

#include <vantrel/host/InputEndedError.h>

using Requests = EditorFixture;

TEST_F(Requests, PointValueRefusalEnterCancelAndKeyword)
{
    script("0,0\nabc\n1,2,3\n\n!cancel\nx\n4,5\n");
    OdGePoint3d p(9, 9, 9);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify first point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(0, 0, 0));
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify second point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(1, 2, 3));
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify third point", nullptr, kAcceptEmpty), kInputEmpty);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify third point", nullptr, kAcceptEmpty), kInputCancel);
    EXPECT_EQ(p, OdGePoint3d(1, 2, 3));
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify fourth point", L"eXit", kAcceptEmpty), 2);
    EXPECT_EQ(p, OdGePoint3d(1, 2, 3));
    // Keywords are not offered without a list: "x" is no point.
    script("x\n4,5\n");
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Specify point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(4, 5, 0));
    EXPECT_EQ(output(),
              "Specify first point: 0,0\n"
              "Specify second point: abc\n"
              "Invalid point.\n"
              "Specify second point: 1,2,3\n"
              "Specify third point: \n"
              "Specify third point: *Cancel*\n"
              "Specify fourth point: x\n"
              "Specify point: x\n"
              "Invalid point.\n"
              "Specify point: 4,5\n");
}

TEST_F(Requests, RelativeInputFollowsLastPointOrBasePoint)
{
    script("10,10\n@5,0\n@2<90\n@1,1\n");
    OdGePoint3d p;
    ed.getPoint(nullptr, p, L"A");
    ed.getPoint(nullptr, p, L"B");
    EXPECT_EQ(p, OdGePoint3d(15, 10, 0));
    ed.getPoint(nullptr, p, L"C");
    EXPECT_NEAR(p.x, 15.0, 1e-12);
    EXPECT_NEAR(p.y, 12.0, 1e-12);
    const OdGePoint3d base(100, 100, 0);
    ed.getPoint(&base, p, L"D");
    EXPECT_EQ(p, OdGePoint3d(101, 101, 0));
    EXPECT_EQ(engine.lastPoint(), p);
}

TEST_F(Requests, TypedPointsAreReadInTheUcsAndAnsweredInWorldCoordinates)
{
    // Origin 100,100,5, turned 90 degrees about Z: the UCS X axis is world Y, its Y axis world -X.
    engine.ucs().set(OdGeMatrix3d().setCoordSystem({100, 100, 5}, OdGeVector3d::kYAxis, -OdGeVector3d::kXAxis,
                                                   OdGeVector3d::kZAxis));
    script("0,0\n10,0\n@0,10\n@5<90\n@\n@1,2,3\n");
    OdGePoint3d p;
    const auto next = [&] {
        EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputValue);
        return p;
    };
    EXPECT_EQ(next(), OdGePoint3d(100, 100, 5));
    EXPECT_EQ(next(), OdGePoint3d(100, 110, 5));
    EXPECT_EQ(next(), OdGePoint3d(90, 110, 5));
    EXPECT_TRUE(next().isEqualTo(OdGePoint3d(85, 110, 5))) << p.x << "," << p.y << "," << p.z;
    const OdGePoint3d before = p;
    EXPECT_EQ(next(), before) << "@ alone is the last point itself";
    // Relative input from a base point follows the UCS axes too; the base point is a world point.
    const OdGePoint3d base(7, 7, 7);
    EXPECT_EQ(ed.getPoint(&base, p, L"Point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(5, 8, 10));
    engine.ucs().set(OdGeMatrix3d::kIdentity);
    script("@1,2,3\n");
    EXPECT_EQ(ed.getPoint(&base, p, L"Point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(8, 9, 10));
}

TEST_F(Requests, PicksLandOnTheUcsPlaneBelowTheCursor)
{
    // Tilted 45 degrees about X through 0,0,10: a pick lands where the plane is under the cursor.
    const double h = std::sqrt(0.5);
    engine.ucs().set(
        OdGeMatrix3d().setCoordSystem({0, 0, 10}, OdGeVector3d::kXAxis, OdGeVector3d(0, h, h), OdGeVector3d(0, -h, h)));
    script("!click 3,4,99\n");
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputValue);
    EXPECT_TRUE(p.isEqualTo(OdGePoint3d(3, 4, 14))) << p.x << "," << p.y << "," << p.z;
    // Upright, the plane x = 2 is seen edge-on: the pick takes its nearest point there.
    engine.ucs().set(
        OdGeMatrix3d().setCoordSystem({2, 0, 0}, OdGeVector3d::kYAxis, OdGeVector3d::kZAxis, OdGeVector3d::kXAxis));
    script("!click 3,4,5\n");
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(2, 4, 5));
}

TEST_F(Requests, AnglesAndDistancesAreMeasuredInTheUcs)
{
    // Turned 90 degrees about Z: a typed angle is the UCS's; a direction is measured from its X
    // axis (world Y); distances are the same in both systems.
    engine.ucs().set(OdGeMatrix3d().setCoordSystem({100, 100, 5}, OdGeVector3d::kYAxis, -OdGeVector3d::kXAxis,
                                                   OdGeVector3d::kZAxis));
    script("30\n!click 100,110\n!click 90,100\n@3,4\n");
    const OdGePoint3d base(100, 100, 5);
    double angle = 0;
    EXPECT_EQ(ed.getAngle(&base, angle, L"Angle"), kInputValue);
    EXPECT_DOUBLE_EQ(angle, std::numbers::pi / 6);
    EXPECT_EQ(ed.getAngle(&base, angle, L"Angle"), kInputValue);
    EXPECT_NEAR(angle, 0.0, 1e-12);
    EXPECT_EQ(ed.getAngle(&base, angle, L"Angle"), kInputValue);
    EXPECT_NEAR(angle, std::numbers::pi / 2, 1e-12);
    double d = 0;
    EXPECT_EQ(ed.getDistance(&base, d, L"Distance"), kInputValue);
    EXPECT_NEAR(d, 5.0, 1e-12);
}

TEST_F(Requests, KeywordResultsFreeTextByFlags)
{
    script("y\nmaybe\nNo\n\n!cancel\n  My Light  \n  red  \nIndex\n");
    const wchar_t* yesNo = L"Yes No";
    OdString text(L"unchanged");
    EXPECT_EQ(ed.getKeyword(L"Delete it? [%s]", yesNo, kAcceptEmpty), 2);
    // Without kAcceptText a text that is no keyword is refused and asked again.
    EXPECT_EQ(ed.getKeyword(L"Delete it? [%s]", yesNo, kAcceptEmpty, &text), 3);
    EXPECT_EQ(text, L"No");
    EXPECT_EQ(ed.getKeyword(L"Delete it? [%s]", yesNo, kAcceptEmpty), kInputEmpty);
    EXPECT_EQ(ed.getKeyword(L"Delete it? [%s]", yesNo, kAcceptEmpty), kInputCancel);
    // Flags 7 (the light name): the text as typed; flags 6 (colour texts): trimmed.
    EXPECT_EQ(ed.getKeyword(L"Enter light name <Pointlight1>", nullptr, 7, &text), kInputText);
    EXPECT_EQ(text, L"  My Light  ");
    EXPECT_EQ(ed.getKeyword(L"Enter true color (R,G,B) [%s]", L"Index Hsl", 6, &text), kInputText);
    EXPECT_EQ(text, L"red");
    // A keyword still wins over free text.
    EXPECT_EQ(ed.getKeyword(L"Enter true color (R,G,B) [%s]", L"Index Hsl", 6, &text), 2);
    EXPECT_EQ(output(),
              "Delete it? [Yes/No]: y\n"
              "Delete it? [Yes/No]: maybe\n"
              "Invalid option keyword.\n"
              "Delete it? [Yes/No]: No\n"
              "Delete it? [Yes/No]: \n"
              "Delete it? [Yes/No]: *Cancel*\n"
              "Enter light name <Pointlight1>: My Light\n"
              "Enter true color (R,G,B) [Index/Hsl]: red\n"
              "Enter true color (R,G,B) [Index/Hsl]: Index\n");
}

TEST_F(Requests, FreeTextNeedsAnOutString)
{
    script("hello\n\n");
    EXPECT_EQ(ed.getKeyword(L"Name", nullptr, 6, nullptr), kInputEmpty);
    EXPECT_NE(output().find("Invalid option keyword."), std::string::npos);
}

TEST_F(Requests, RealAndInteger)
{
    script("1e3\nten\n-2.5\nFlux\n7\n7.5\n2147483648\n-3\n\n");
    double v = 0;
    std::int32_t n = 0;
    EXPECT_EQ(ed.getReal(v, L"Enter intensity"), kInputValue);
    EXPECT_EQ(v, 1000.0);
    EXPECT_EQ(ed.getReal(v, L"Enter intensity"), kInputValue);
    EXPECT_EQ(v, -2.5);
    EXPECT_EQ(ed.getReal(v, L"Enter intensity (Cd) [%s]", L"Flux Illuminance", 262), 2);
    EXPECT_EQ(v, -2.5);
    EXPECT_EQ(ed.getInteger(n, L"Segments"), kInputValue);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(ed.getInteger(n, L"Segments"), kInputValue);
    EXPECT_EQ(n, -3);
    EXPECT_EQ(ed.getInteger(n, L"Segments", nullptr, 260), kInputEmpty);
    EXPECT_EQ(n, -3);
    std::string text = output();
    EXPECT_NE(text.find("Enter intensity: ten\nRequires a number.\nEnter intensity: -2.5\n"), std::string::npos);
    EXPECT_NE(text.find("Segments: 7.5\nRequires an integer.\nSegments: 2147483648\n"
                        "Integers must lie between -2147483648 and 2147483647.\n"),
              std::string::npos);
}

TEST_F(Requests, ANumberBeyondTheLimitIsToldTheLimit)
{
    script("1e101\n-1e400\n2\n1e200,0\n@1e101<0\n3,4\n1e101\n1,1\n");
    const std::string limit = "Numbers must lie between -1e100 and 1e100.\n";
    double v = 0;
    EXPECT_EQ(ed.getReal(v, L"Value"), kInputValue);
    EXPECT_EQ(v, 2.0);
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(3, 4, 0));
    EXPECT_EQ(ed.getDistance(&p, v, L"Distance"), kInputValue);
    EXPECT_EQ(v, std::hypot(2.0, 3.0));
    EXPECT_EQ(output(),
              "Value: 1e101\n" + limit + "Value: -1e400\n" + limit + "Value: 2\n" + "Point: 1e200,0\n" + limit
                  + "Point: @1e101<0\n" + limit + "Point: 3,4\n" + "Distance: 1e101\n" + limit + "Distance: 1,1\n");
}

TEST_F(Requests, AngleInDegreesOrFromPoints)
{
    script("90\n\nxyz\n0,5\n!click 3,4\n1,1\n1,-1\n");
    double angle = 0.25;
    const OdGePoint3d base(0, 0, 0);
    EXPECT_EQ(ed.getAngle(&base, angle, L"Tangent direction"), kInputValue);
    EXPECT_DOUBLE_EQ(angle, std::numbers::pi / 2);
    // Enter leaves the angle as it was.
    angle = 0.25;
    EXPECT_EQ(ed.getAngle(&base, angle, L"Tangent direction"), kInputEmpty);
    EXPECT_EQ(angle, 0.25);
    EXPECT_EQ(ed.getAngle(&base, angle, L"Tangent direction"), kInputValue);
    EXPECT_DOUBLE_EQ(angle, std::numbers::pi / 2);
    EXPECT_EQ(ed.getAngle(&base, angle, L"Tangent direction"), kInputValue);
    EXPECT_DOUBLE_EQ(angle, std::atan2(4.0, 3.0));
    // Without a base point the point answer asks for a second point.
    EXPECT_EQ(ed.getAngle(nullptr, angle, L"Angle"), kInputValue);
    EXPECT_DOUBLE_EQ(angle, 1.5 * std::numbers::pi);
    EXPECT_NE(output().find("Tangent direction: xyz\nRequires an angle or a point.\n"), std::string::npos);
}

TEST_F(Requests, DistanceTypedOrFromBasePoint)
{
    script("2.5\n\n3,4\n@0,10\n10,10\n!cancel\n");
    double d = 1.0;
    const OdGePoint3d base(0, 0, 0);
    EXPECT_EQ(ed.getDistance(&base, d, L"Width"), kInputValue);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(ed.getDistance(&base, d, L"Width"), kInputEmpty);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(ed.getDistance(&base, d, L"Width"), kInputValue);
    EXPECT_EQ(d, 5.0);
    EXPECT_EQ(ed.getDistance(&base, d, L"Width"), kInputValue);
    EXPECT_EQ(d, 10.0);
    // Cancelled at the second point: the distance keeps its value.
    EXPECT_EQ(ed.getDistance(nullptr, d, L"Width"), kInputCancel);
    EXPECT_EQ(d, 10.0);
    EXPECT_NE(output().find("Width: 10,10\nSpecify second point: *Cancel*\n"), std::string::npos);
}

TEST_F(Requests, PointsAreRefusedWhereNoneIsAsked)
{
    script("!click 1,1\n5\n");
    double v = 0;
    EXPECT_EQ(ed.getReal(v, L"Value"), kInputValue);
    EXPECT_EQ(v, 5.0);
    EXPECT_EQ(output(), "Value: !click 1,1\nA point is not accepted here.\nValue: 5\n");
}

TEST_F(Requests, EndOfInputCancelsAndAnOpenLoopIsStopped)
{
    script("1,1\n");
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(nullptr, p, L"First"), kInputValue);
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Second"), kInputCancel);
    EXPECT_TRUE(engine.inputEnded());
    // A command that asks again after every cancel cannot loop forever.
    double flux = 0;
    int asked = 0;
    EXPECT_THROW(
        {
            for (; asked < 1000; ++asked)
                ed.getReal(flux, L"Flux");
        },
        vantrel::InputEndedError);
    EXPECT_EQ(asked, vantrel::InputEngine::kRequestsAfterEnd);
}

TEST_F(Requests, ScriptErrorsAndDialogEventsAreShownAndAskedAgain)
{
    script("!move 1\n!frobnicate\n!dlg ok\n!!bang\n");
    OdString text;
    EXPECT_EQ(ed.getKeyword(L"Name", nullptr, kAcceptText, &text), kInputText);
    EXPECT_EQ(text, L"!bang");
    EXPECT_EQ(output(),
              "Name: !move 1\n"
              "test.scr:1: !move needs a point X,Y[,Z]\n"
              "Name: !frobnicate\n"
              "test.scr:2: unknown script command \"!frobnicate\"\n"
              "Name: !dlg ok\n"
              "No dialog is open.\n"
              "Name: !bang\n");
}

TEST_F(Requests, MessagesAreTypeCheckedAndKeepUserTextOutOfTheFormat)
{
    ed.printMessage(L"\nPoint: %f, %f, %f", 1.0, 2.5, -3.0);
    OdString typed(L"50%d %s");
    ed.printMessage(L"\n%s is not a preset color", typed);
    ed.printMessage(L"\n<%0.f> %d items", 12.7, 3);
    ed.printMessage(L"\n%s|%s|%c", static_cast<const wchar_t*>(nullptr), std::string("caf\xc3\xa9"), L'x');
    ed.printMessage(L"\n%d", 2.5);
    EXPECT_EQ(output(),
              "Point: 1.000000, 2.500000, -3.000000\n"
              "50%d %s is not a preset color\n"
              "<13> 3 items\n"
              "|caf\xc3\xa9|x\n"
              "%d [format error: invalid type specifier]\n");
}

TEST(PromptText, FillsKeywordsAndEndsWithColon)
{
    EXPECT_EQ(HostEditor::promptText(L"Specify first point", nullptr), L"Specify first point: ");
    EXPECT_EQ(HostEditor::promptText(L"\nEnter an option [%s]:", L"Close Open _ Close Open"),
              L"Enter an option [Close/Open]: ");
    EXPECT_EQ(HostEditor::promptText(L"Enter fuzz distance [%s] <0.000000>:  ", L"Jointype"),
              L"Enter fuzz distance [Jointype] <0.000000>: ");
    EXPECT_EQ(HostEditor::promptText(L"Specify fourth point", L"Exit"), L"Specify fourth point: ");
}

TEST_F(Requests, ScriptCommentsLineEndsAndViewLines)
{
    script("; first corner\r\n   ; indented comment\r\n!view 0,0 10,10\r\n1,2\r\n\r\n");
    OdGePoint3d p;
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputValue);
    EXPECT_EQ(p, OdGePoint3d(1, 2, 0));
    EXPECT_EQ(ed.getPoint(nullptr, p, L"Point"), kInputEmpty);
    EXPECT_EQ(source->lineNumber(), 5u);
    EXPECT_EQ(drawer.viewExtents().maxPoint(), OdGePoint3d(10, 10, 0));
    EXPECT_EQ(output(), "Point: 1,2\nPoint: \n");

    auto degenerate = vantrel::ScriptInputSource::parseLine(L"!view 0,0 0,5", L"s:1");
    ASSERT_TRUE(degenerate);
    EXPECT_EQ(degenerate->kind, vantrel::InputEvent::Kind::Error);
    EXPECT_EQ(vantrel::ScriptInputSource::parseLine(L"!CLICK 1,2,3", L"s:1")->point, OdGePoint3d(1, 2, 3));
}
