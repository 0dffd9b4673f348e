// The running host as commands see it: the active document, an application-level command line
// for messages when no document is open, system variables, message boxes, and the command line
// loop that runs commands by name. While it exists, get_host_funcptr(2) gives it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdResBuf.h>
#include <vantrel/db/OdString.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/IProfile.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/SysVarService.h>
#include <vantrel/host/HostExport.h>

class HostDocument;

namespace vantrel {
class InputSource;
class Transcript;
} // namespace vantrel

class VANTREL_HOST_EXPORT HostApplication {
public:
    // How a command line ran: the command was not known, it ran to its end, or it raised an
    // error (reported, and its changes taken back).
    struct CommandRun {
        enum class Result { Unknown, Done, Failed };
        Result result = Result::Unknown;
        // Object commands: what Run answered and GetStatus said after it.
        int runResult = 0;
        std::int32_t status = 0;
    };
    using MessageBoxHandler = std::function<int(const OdString& text)>;

    // Requests of every document and of the application read from source and write to
    // transcript. Only one application exists at a time.
    HostApplication(IProfile& profile, vantrel::InputSource& source, vantrel::Transcript& transcript);
    ~HostApplication();
    HostApplication(const HostApplication&) = delete;
    HostApplication& operator=(const HostApplication&) = delete;

    // The running application; null when there is none.
    static HostApplication* current();
    // The command line a dialog with this parent window talks through: the parent's, else the
    // active document's, else the application's; null when there is none.
    static vantrel::InputEngine* dialogEngine(HostWindowId parent);

    // Null when no document is open.
    HostDocument* activeDocument() const { return m_document.get(); }
    // Opens the drawing as the active document (the one open before is closed).
    HostDocument& openDocument(OdDbDatabasePtr db);
    void closeDocument();

    // For messages when no document is open.
    HostEditor& editor() { return m_editor; }
    vantrel::InputSource& inputSource() const { return m_source; }
    vantrel::Transcript& transcript() const { return m_transcript; }
    IProfile& profile() const { return m_profile; }

    // Drawing variables of db (of the active document's drawing when db is null) and the
    // application's own; errors as SysVarService raises them.
    OdResBufPtr getSysVar(const OdString& name, OdDbDatabase* db = nullptr) const;
    void setSysVar(const OdString& name, const OdResBuf* value, OdDbDatabase* db = nullptr);
    vantrel::SysVarService& sysVars() { return m_sysVars; }

    vantrel::CommandRegistry& commands() const { return vantrel::CommandRegistry::global(); }
    // Runs a command line's text: a command name without regard to case, optionally after `_`
    // and `.`. Unknown names are reported as `Unknown command "NAME".`. Every command but U and
    // REDO runs in one undo group, so that U takes it back at once. An object command is made by
    // its creator, given a HostCommandContext (SetContext), run with Run(0), asked GetStatus and
    // released; the host asks neither QueryFlagA nor QueryFlagB. A function command's flags word
    // is kept in the registry and changes nothing in how it runs.
    CommandRun runCommand(std::wstring_view line);
    // Asks `Command:` and runs what is given (Enter repeats the last command) until the user
    // leaves: by QUIT or EXIT, or by ending the input there. With askBeforeLeaving, leaving with
    // unsaved changes first asks whether to save them, and Cancel stays.
    void runCommandLoop();
    // QUIT and EXIT: the command loop ends once the running command has.
    void requestQuit() { m_quitRequested = true; }
    void setAskBeforeLeaving(bool ask) { m_askBeforeLeaving = ask; }

    // The shell prints message boxes; a desktop front end shows them.
    void setMessageBoxHandler(MessageBoxHandler handler) { m_messageBox = std::move(handler); }
    int messageBox(const OdString& text);

private:
    OdDbDatabase* databaseOrActive(OdDbDatabase* db) const;
    // Whether the loop may end now: nothing unsaved, or the user's answer allows it.
    bool mayLeave();
    void message(std::wstring_view text);

    IProfile& m_profile;
    vantrel::InputSource& m_source;
    vantrel::Transcript& m_transcript;
    vantrel::InputEngine m_engine;
    HostEditor m_editor;
    vantrel::SysVarService m_sysVars;
    std::unique_ptr<HostDocument> m_document;
    MessageBoxHandler m_messageBox;
    std::wstring m_lastCommand;
    bool m_quitRequested = false;
    bool m_askBeforeLeaving = false;
};
