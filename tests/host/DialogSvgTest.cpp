// Pictures of dialog states: one per state shown (after opening and after each event that was
// taken), well-formed, with the texts, checks and owner drawing the dialog showed.
#include "DialogFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <vantrel/host/DialogPictureWriter.h>
#include <vantrel/host/dialog_svg.h>

using namespace dialog_test;

namespace {

// Tags open and close in order, and no text holds a bare '<' or '&' that starts no entity.
::testing::AssertionResult wellFormed(const std::string& svg)
{
    std::vector<std::string> open;
    std::size_t at = 0;
    while (at < svg.size()) {
        if (svg[at] == '&') {
            std::size_t end = svg.find(';', at);
            std::string entity = end == std::string::npos ? "" : svg.substr(at, end - at + 1);
            if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" && entity != "&apos;")
                return ::testing::AssertionFailure() << "bare & at " << at;
            at = end + 1;
            continue;
        }
        if (svg[at] != '<') {
            ++at;
            continue;
        }
        std::size_t end = svg.find('>', at);
        if (end == std::string::npos)
            return ::testing::AssertionFailure() << "unclosed tag at " << at;
        std::string tag = svg.substr(at + 1, end - at - 1);
        if (tag.find('<') != std::string::npos)
            return ::testing::AssertionFailure() << "'<' inside a tag at " << at;
        if (tag.front() == '/') {
            if (open.empty() || open.back() != tag.substr(1))
                return ::testing::AssertionFailure() << "</" << tag.substr(1) << "> closes nothing open";
            open.pop_back();
        } else if (tag.back() != '/') {
            open.push_back(tag.substr(0, tag.find(' ')));
        }
        at = end + 1;
    }
    if (!open.empty() || svg.rfind("<svg ", 0) != 0)
        return ::testing::AssertionFailure() << "not one svg element";
    return ::testing::AssertionSuccess();
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

class DialogPictures : public DialogFixture {
protected:
    DialogPictures()
    {
        previous = hostUiDialog::setStateObserver([this](const hostUiDialog& d) { pictures.push_back(dialogSvg(d)); });
    }
    ~DialogPictures() override { hostUiDialog::setStateObserver(previous); }

    std::vector<std::string> pictures;
    hostUiDialog::StateObserver previous;
};

TEST_F(DialogPictures, OnePicturePerShownStateWithWhatTheDialogShowed)
{
    EXPECT_EQ(run("!dlg click 102\n!dlg click 999\n!dlg select 110 Blue\n!dlg text 103 a<b & c\n!dlg ok\n"), IDOK);
    ASSERT_EQ(pictures.size(), 4u) << "opened, and three events taken; the refusal and the end show nothing";
    for (const std::string& svg : pictures)
        EXPECT_TRUE(wellFormed(svg));

    const std::string& opened = pictures.front();
    for (const char* text : {"Test &amp; dialog", "Filter &lt;color&gt;:", "Lamp", "Alpha", "Beta", "Gamma", "Delta",
                             ">OK<", ">Cancel<", ">Help<", ">6500<", ">fixed<", ">Red<"})
        EXPECT_NE(opened.find(text), std::string::npos) << text;
    EXPECT_EQ(count(opened, R"(r="3")"), 2u) << "two radio buttons checked";
    EXPECT_NE(opened.find("#ff0000"), std::string::npos) << "the owner-drawn swatch of the current item";
    EXPECT_EQ(opened.find("#0000ff"), std::string::npos);

    EXPECT_NE(pictures[2].find(">Blue<"), std::string::npos);
    EXPECT_NE(pictures[2].find("#0000ff"), std::string::npos) << "the field and the swatch repainted";
    EXPECT_NE(pictures[3].find("a&lt;b &amp; c"), std::string::npos);
}

TEST_F(DialogFixture, PictureWriterNumbersFilesPerCaptionAndReportsFailures)
{
    const std::filesystem::path folder
        = std::filesystem::temp_directory_path() / ("vantrel_dialog_svg_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    DialogPictureWriter writer(folder.string());
    hostUiDialog::StateObserver before
        = hostUiDialog::setStateObserver([&writer](const hostUiDialog& d) { writer.write(d); });
    run("!dlg click 102\n!dlg ok\n");
    run("!dlg cancel\n");
    hostUiDialog::setStateObserver(before);

    EXPECT_EQ(DialogPictureWriter::stemOf(dialog), "Test___dialog");
    EXPECT_EQ(writer.written(), 3);
    EXPECT_EQ(writer.firstError(), "");
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(std::filesystem::exists(folder / ("Test___dialog-" + std::to_string(n) + ".svg"))) << n;
    std::ifstream second(folder / "Test___dialog-2.svg");
    std::stringstream text;
    text << second.rdbuf();
    EXPECT_TRUE(wellFormed(text.str()));
    std::filesystem::remove_all(folder);

    DialogPictureWriter nowhere((folder / "missing").string());
    nowhere.write(dialog);
    EXPECT_EQ(nowhere.written(), 0);
    EXPECT_NE(nowhere.firstError().find("Test___dialog-1.svg"), std::string::npos) << nowhere.firstError();
}
