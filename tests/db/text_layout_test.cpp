// Text placed by the font's measured advances: TEXT's justifications land on their points, and
// MTEXT breaks lines where the measured words stop fitting, places them by its attachment point
// and applies its inline codes. Expected positions are computed here from textAdvance.
#include <gtest/gtest.h>

#include <numbers>

#include <vantrel/db/OdDbMText.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/TextFont.h>

#include "RecordingDraw.h"
#include "db_key.h"
#include "text_layout.h"
#include "db_key.h"

using namespace vantrel;

namespace {

constexpr double kTol = 1e-9;

bool near(const OdGePoint3d& a, const OdGePoint3d& b, double tol = kTol) { return a.distanceTo(b) <= tol; }

OdGePoint3d runEnd(const TextRun& run) { return run.origin + run.advance * run.width; }

RecordingDraw drawn(const OdDbEntity& e)
{
    RecordingDraw d;
    e.subWorldDraw(d);
    return d;
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fontProblem().empty())
            GTEST_SKIP() << fontProblem();
    }
};

OdDbTextPtr text(const wchar_t* s, OdDb::TextHorzMode h, OdDb::TextVertMode v = OdDb::kTextBase)
{
    OdDbTextPtr t = OdDbText::createObject();
    t->setTextString(s);
    t->setHeight(2.0);
    t->setPosition({1, 1, 0});
    t->setHorizontalMode(h);
    t->setVerticalMode(v);
    t->setAlignmentPoint({21, 1, 0});
    return t;
}

} // namespace

TEST_F(FontTest, AdvancesComeFromTheFontWithKerning)
{
    // Proportional: narrow letters advance less than wide ones; kerned pairs less than apart.
    EXPECT_LT(textAdvance(L"iiii"), textAdvance(L"MMMM") / 2.0);
    EXPECT_LT(textAdvance(L"AV"), textAdvance(L"A") + textAdvance(L"V"));
    // Bold is wider, a monospaced face gives every letter the same advance.
    EXPECT_GT(textAdvance(L"Hello", {FontFamily::Sans, true}), textAdvance(L"Hello"));
    const FontFace mono = fontFaceFor(L"Courier New");
    EXPECT_EQ(mono.family, FontFamily::Mono);
    EXPECT_NEAR(textAdvance(L"iiii", mono), textAdvance(L"MMMM", mono), kTol);
    const FontMetrics m = fontMetrics();
    EXPECT_GT(m.descent, 0.1);
    EXPECT_GT(m.emSize, 1.0); // capitals are shorter than the em
}

TEST_F(FontTest, FitAndAlignedTextSpanTheirPoints)
{
    const double natural = textAdvance(L"Span") * 2.0;
    RecordingDraw fit = drawn(*text(L"Span", OdDb::kTextFit));
    ASSERT_EQ(fit.texts.size(), 1u);
    EXPECT_TRUE(near(fit.texts[0].origin, {1, 1, 0}));
    EXPECT_TRUE(near(runEnd(fit.texts[0]), {21, 1, 0}));
    EXPECT_NEAR(fit.texts[0].height, 2.0, kTol); // fitted text keeps its height
    EXPECT_NEAR(fit.texts[0].widthFactor, 20.0 / natural, kTol);

    RecordingDraw aligned = drawn(*text(L"Span", OdDb::kTextAlign));
    EXPECT_TRUE(near(runEnd(aligned.texts[0]), {21, 1, 0}));
    EXPECT_NEAR(aligned.texts[0].height, 2.0 * 20.0 / natural, kTol); // aligned text scales whole
    EXPECT_NEAR(aligned.texts[0].widthFactor, 1.0, kTol);

    // Along a slanted baseline the run turns with it.
    OdDbTextPtr slanted = text(L"Span", OdDb::kTextFit);
    slanted->setAlignmentPoint({11, 11, 0});
    RecordingDraw s = drawn(*slanted);
    EXPECT_TRUE(near(runEnd(s.texts[0]), {11, 11, 0}));
    EXPECT_TRUE(s.texts[0].up.isEqualTo(OdGeVector3d(-1, 1, 0).normal()));
}

TEST_F(FontTest, JustifiedTextLandsOnItsAlignmentPoint)
{
    const double width = textAdvance(L"Word") * 2.0;
    const double descent = fontMetrics().descent;
    struct Case {
        OdDb::TextHorzMode h;
        OdDb::TextVertMode v;
        double along; // of the width, from the origin to the point
        double lift;  // of the height, from the baseline up to the point
    };
    const Case cases[] = {
        {OdDb::kTextCenter, OdDb::kTextBase, 0.5, 0.0},
        {OdDb::kTextRight, OdDb::kTextBase, 1.0, 0.0},
        {OdDb::kTextLeft, OdDb::kTextTop, 0.0, 1.0},
        {OdDb::kTextCenter, OdDb::kTextVertMid, 0.5, 0.5},
        {OdDb::kTextRight, OdDb::kTextBottom, 1.0, -descent},
        {OdDb::kTextMid, OdDb::kTextBase, 0.5, (1.0 - descent) / 2.0},
    };
    for (const Case& c : cases) {
        RecordingDraw d = drawn(*text(L"Word", c.h, c.v));
        ASSERT_EQ(d.texts.size(), 1u);
        const TextRun& r = d.texts[0];
        EXPECT_NEAR(r.width, width, kTol);
        EXPECT_TRUE(near(r.origin + r.advance * (width * c.along) + r.up * (2.0 * c.lift), {21, 1, 0}))
            << c.h << " " << c.v;
    }
    // A width factor widens the run and keeps the right end on the point.
    OdDbTextPtr wide = text(L"Word", OdDb::kTextRight);
    wide->setWidthFactor(2.0);
    RecordingDraw d = drawn(*wide);
    EXPECT_NEAR(d.texts[0].width, 2.0 * width, kTol);
    EXPECT_TRUE(near(runEnd(d.texts[0]), {21, 1, 0}));
}

TEST(TextCodes, PercentCodesDecodeAndDrawTheirLines)
{
    const textlayout::DecodedText d = textlayout::decodePercentCodes(L"%%c25 %%d%%p1 %%% %%065 %%x %%uab%%u");
    EXPECT_EQ(d.text.str(),
              L"\u230025 \u00B0\u00B1"
              L"1 % A %%x ab");
    ASSERT_EQ(d.lines.size(), 1u);
    EXPECT_EQ(d.lines[0].kind, textlayout::Decoration::Underline);
    EXPECT_EQ(d.text.str().substr(static_cast<std::size_t>(d.lines[0].from), 2), L"ab");
    // An underline left on runs to the end; the text draws it as a line under the glyphs.
    OdDbTextPtr t = OdDbText::createObject();
    t->setTextString(L"%%uunder");
    RecordingDraw drawn;
    t->subWorldDraw(drawn);
    ASSERT_EQ(drawn.paths.size(), 1u);
    EXPECT_NEAR(drawn.paths[0][0].point.distanceTo(drawn.paths[0][1].point), drawn.texts[0].width, kTol);
    EXPECT_LT(drawn.paths[0][0].point.y, 0.0);
}

TEST(TextCodes, MTextUnicodeEscapeNeedsFourHexDigits)
{
    OdDbMTextPtr m = OdDbMText::createObject();
    m->setContents(L"a\\U+00B0b \\U+03a9");
    EXPECT_EQ(m->text().str(), L"a\u00B0b \u03A9");
    // Anything else is not an escape: no character made of a partial number, never a NUL.
    for (const wchar_t* contents : {L"\\U+12zz", L"\\U+0000", L"\\U+-123", L"\\U+12"}) {
        m->setContents(contents);
        const std::wstring text = m->text().str();
        EXPECT_EQ(text.find(L'\0'), std::wstring::npos) << text.size();
        EXPECT_EQ(text.substr(0, 2), L"U+") << contents;
    }
}

namespace {

OdDbMTextPtr mtext(const wchar_t* contents, double width, OdDbMText::AttachmentPoint attach = OdDbMText::kTopLeft)
{
    OdDbMTextPtr m = OdDbMText::createObject();
    m->setContents(contents);
    m->setTextHeight(1.0);
    m->setWidth(width);
    m->setAttachment(attach);
    m->setLocation({10, 20, 0});
    return m;
}

std::vector<std::wstring> runTexts(const RecordingDraw& d)
{
    std::vector<std::wstring> out;
    for (const TextRun& r : d.texts)
        out.push_back(r.text.str());
    return out;
}

} // namespace

TEST_F(FontTest, MTextBreaksLinesWhereTheMeasuredWordsStopFitting)
{
    // Room for "alpha beta" and not for "alpha beta gamma".
    const double two = textAdvance(L"alpha beta");
    const double three = textAdvance(L"alpha beta gamma");
    ASSERT_LT(two, three);
    RecordingDraw d = drawn(*mtext(L"alpha beta gamma delta", (two + three) / 2.0));
    EXPECT_EQ(runTexts(d), (std::vector<std::wstring>{L"alpha beta", L"gamma delta"}));
    // The first line's capitals touch the location; lines are 5/3 of the height apart.
    EXPECT_TRUE(near(d.texts[0].origin, {10, 19, 0}));
    EXPECT_TRUE(near(d.texts[1].origin, {10, 19 - 5.0 / 3.0, 0}));
    EXPECT_NEAR(d.texts[0].width, two, kTol);

    // A word wider than the width stands alone; no width, no wrapping; \P always breaks.
    EXPECT_EQ(runTexts(drawn(*mtext(L"a enormousword b", textAdvance(L"a")))),
              (std::vector<std::wstring>{L"a", L"enormousword", L"b"}));
    EXPECT_EQ(runTexts(drawn(*mtext(L"alpha beta gamma\\Pnext", 0.0))),
              (std::vector<std::wstring>{L"alpha beta gamma", L"next"}));
    // A non-breaking space holds its words together.
    EXPECT_EQ(runTexts(drawn(*mtext(L"alpha\\~beta gamma", (two + three) / 2.0 - textAdvance(L" beta") / 2.0))).size(),
              2u);
}

TEST_F(FontTest, MTextAttachmentAndRotationPlaceTheBlock)
{
    const double w1 = textAdvance(L"wide line"), w2 = textAdvance(L"x");
    // Middle centre: each line centred on the location, the block's middle on it.
    RecordingDraw d = drawn(*mtext(L"wide line\\Px", 0.0, OdDbMText::kMiddleCenter));
    ASSERT_EQ(d.texts.size(), 2u);
    const double blockHeight = 1.0 + 5.0 / 3.0; // first capitals to last baseline
    EXPECT_TRUE(near(d.texts[0].origin, {10 - w1 / 2.0, 20 + blockHeight / 2.0 - 1.0, 0}));
    EXPECT_TRUE(near(d.texts[1].origin, {10 - w2 / 2.0, 20 - blockHeight / 2.0, 0}));
    // Bottom right: the last line ends on the location.
    d = drawn(*mtext(L"wide line\\Px", 0.0, OdDbMText::kBottomRight));
    EXPECT_TRUE(near(runEnd(d.texts[1]), {10, 20, 0}));

    // The rotation (50) turns the block about the location; a direction (11) overrides it.
    OdDbMTextPtr m = mtext(L"up", 0.0);
    m->setRotation(std::numbers::pi / 2.0);
    d = drawn(*m);
    EXPECT_TRUE(d.texts[0].advance.isEqualTo({0, 1, 0}));
    EXPECT_TRUE(near(d.texts[0].origin, {11, 20, 0}));
    m->dataForWrite(vantrel::dbKey()).direction = OdGeVector3d(-1, 0, 0);
    EXPECT_TRUE(m->direction().isEqualTo({-1, 0, 0}));
    EXPECT_NEAR(m->rotation(), std::numbers::pi, kTol);
    // Moved and scaled, the location, height and width follow.
    m->setWidth(4.0);
    m->transformBy(OdGeMatrix3d::scaling(2.0));
    EXPECT_TRUE(near(m->location(), {20, 40, 0}));
    EXPECT_NEAR(m->textHeight(), 2.0, kTol);
    EXPECT_NEAR(m->width(), 8.0, kTol);
    EXPECT_THROW(m->setAttachment(static_cast<OdDbMText::AttachmentPoint>(10)), OdError);
    EXPECT_THROW(m->setLineSpacingFactor(5.0), OdError);
}

TEST_F(FontTest, MTextInlineCodesStyleTheirRuns)
{
    RecordingDraw d = drawn(*mtext(L"a{\\H2x;\\C1;big}b \\fCourier New|b1;mono \\S1/2;%%d\\Lu\\l", 0.0));
    const std::vector<std::wstring> expected{L"a", L"big", L"b ", L"mono ", L"1", L"2", L"\u00B0", L"u"};
    // The red run comes after the others: each colour is set once, after the entity's own.
    std::vector<std::wstring> texts = runTexts(d);
    std::sort(texts.begin(), texts.end());
    std::vector<std::wstring> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(texts, sorted);
    auto run = [&](const wchar_t* s) {
        return *std::find_if(d.texts.begin(), d.texts.end(), [&](const TextRun& r) { return r.text.str() == s; });
    };
    EXPECT_NEAR(run(L"big").height, 2.0, kTol);
    EXPECT_NEAR(run(L"b ").height, 1.0, kTol); // the group's end restores the height
    EXPECT_EQ(d.traits.back().rgb, 0xFF0000u);
    EXPECT_EQ(run(L"mono ").face.family, FontFamily::Mono);
    EXPECT_TRUE(run(L"mono ").face.bold);
    // The runs follow one another along the line.
    EXPECT_NEAR(run(L"big").origin.x, 10 + textAdvance(L"a"), kTol);
    // The fraction's parts stand above and below its bar, smaller than the text.
    EXPECT_GT(run(L"1").origin.y, run(L"2").origin.y);
    EXPECT_LT(run(L"1").height, 1.0);
    // Fraction bar and underline.
    EXPECT_EQ(d.paths.size(), 2u);
    OdDbMTextPtr plain = mtext(L"{\\fArial;x}\\P\\S1^2;\\~y\\\\", 0.0);
    EXPECT_EQ(plain->text(), OdString(L"x\n1/2\u00A0y\\"));
}
