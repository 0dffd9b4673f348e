// The application object, the command line loop, and running one command through its protocol
// (object, function or host command) inside an undo group.
#include <vantrel/host/HostApplication.h>

#include <cassert>
#include <exception>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostCommandContext.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSource.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/host/Transcript.h>

#include "commands/host_commands.h"

using vantrel::CommandRegistry;
using vantrel::InputEngine;
using vantrel::InputEvent;

namespace {

HostApplication* g_current = nullptr;

// At `Command:` the end of input is not an answer to cancel: the session just ends there.
class CommandPromptSource : public vantrel::InputSource {
public:
    explicit CommandPromptSource(vantrel::InputSource& inner) : m_inner(inner) {}

    InputEvent next(const vantrel::InputPrompt& prompt) override
    {
        InputEvent e = m_inner.next(prompt);
        if (e.kind != InputEvent::Kind::End)
            return e;
        m_ended = true;
        return InputEvent::textLine(L"");
    }
    bool ended() const { return m_ended; }

private:
    vantrel::InputSource& m_inner;
    bool m_ended = false;
};

// Restores the engine's source however the prompt ends.
class SourceSwap {
public:
    SourceSwap(InputEngine& engine, vantrel::InputSource& source) : m_engine(engine), m_old(engine.source())
    {
        engine.setSource(source);
    }
    ~SourceSwap() { m_engine.setSource(m_old); }
    SourceSwap(const SourceSwap&) = delete;
    SourceSwap& operator=(const SourceSwap&) = delete;

private:
    InputEngine& m_engine;
    vantrel::InputSource& m_old;
};

// One reference to a command object, released however the run ends.
class CommandObject {
public:
    explicit CommandObject(ICmdProcess* object) : m_object(object) {}
    ~CommandObject()
    {
        if (m_object)
            m_object->Release();
    }
    CommandObject(const CommandObject&) = delete;
    CommandObject& operator=(const CommandObject&) = delete;
    ICmdProcess* operator->() const { return m_object; }

private:
    ICmdProcess* m_object;
};

// The context handed to a command: released and cut from the document when the run ends.
class ContextHold {
public:
    explicit ContextHold(HostDocument& doc) : m_context(vantrel::HostCommandContext::create(doc)) {}
    ~ContextHold()
    {
        m_context->detach();
        m_context->Release();
    }
    ContextHold(const ContextHold&) = delete;
    ContextHold& operator=(const ContextHold&) = delete;
    vantrel::HostCommandContext* get() const { return m_context; }

private:
    vantrel::HostCommandContext* m_context;
};

} // namespace

HostApplication::HostApplication(IProfile& profile, vantrel::InputSource& source, vantrel::Transcript& transcript)
    : m_profile(profile), m_source(source), m_transcript(transcript), m_engine(source, transcript), m_editor(m_engine),
      m_sysVars(profile)
{
    assert(!g_current && "only one application exists at a time");
    g_current = this;
    vantrel::registerHostCommands(commands());
}

HostApplication::~HostApplication()
{
    m_document.reset();
    g_current = nullptr;
}

HostApplication* HostApplication::current() { return g_current; }

vantrel::InputEngine* HostApplication::dialogEngine(HostWindowId parent)
{
    if (parent)
        return vantrel::InputEngine::forWindow(parent);
    if (!g_current)
        return nullptr;
    HostDocument* doc = g_current->activeDocument();
    return doc ? &doc->engine() : &g_current->editor().engine();
}

HostDocument& HostApplication::openDocument(OdDbDatabasePtr db)
{
    if (!db)
        throw OdError(eNullObjectPointer, "a document needs a drawing");
    m_document.reset();
    m_document = std::make_unique<HostDocument>(*this, std::move(db));
    return *m_document;
}

void HostApplication::closeDocument() { m_document.reset(); }

OdDbDatabase* HostApplication::databaseOrActive(OdDbDatabase* db) const
{
    if (db || !m_document)
        return db;
    return m_document->database();
}

OdResBufPtr HostApplication::getSysVar(const OdString& name, OdDbDatabase* db) const
{
    return m_sysVars.getSysVar(name, databaseOrActive(db));
}

void HostApplication::setSysVar(const OdString& name, const OdResBuf* value, OdDbDatabase* db)
{
    m_sysVars.setSysVar(name, value, databaseOrActive(db));
}

void HostApplication::message(std::wstring_view text) { m_transcript.message(text); }

int HostApplication::messageBox(const OdString& text)
{
    if (m_messageBox)
        return m_messageBox(text);
    m_transcript.finish();
    m_transcript.message(L"[message box] " + std::wstring(text.c_str()) + L"\n");
    return kMessageBoxOk;
}

HostApplication::CommandRun HostApplication::runCommand(std::wstring_view line)
{
    CommandRun run;
    std::wstring_view name = CommandRegistry::nameOf(line);
    const CommandRegistry::Command* found = name.empty() ? nullptr : commands().find(name);
    if (!found) {
        message(L"\nUnknown command \"" + CommandRegistry::key(name) + L"\".");
        return run;
    }
    if (!m_document) {
        message(L"\nNo drawing is open.");
        run.result = CommandRun::Result::Failed;
        return run;
    }
    // A copy: a command may register commands (by loading a module) while it runs.
    const CommandRegistry::Command command = *found;
    m_lastCommand = command.name;
    HostDocument& doc = *m_document;
    OdDbDatabasePtr db(doc.database());

    if (command.undoGroup)
        db->blockUndoRecording(true, OdString(command.name));
    try {
        switch (command.kind) {
        case CommandRegistry::Kind::Object: {
            ICmdProcess* created = nullptr;
            command.creator(&created);
            if (!created) {
                message(L"\nThe command " + command.name + L" could not be created.");
                run.result = CommandRun::Result::Failed;
                break;
            }
            CommandObject object(created);
            ContextHold context(doc);
            object->SetContext(context.get());
            run.runResult = object->Run(0);
            run.status = object->GetStatus();
            run.result = CommandRun::Result::Done;
            break;
        }
        case CommandRegistry::Kind::Function:
            command.entry();
            run.result = CommandRun::Result::Done;
            break;
        case CommandRegistry::Kind::Host:
            command.body(doc);
            run.result = CommandRun::Result::Done;
            break;
        }
    } catch (const std::exception& e) {
        doc.clearHighlights();
        // The drawing is left as it was before the command.
        if (command.undoGroup) {
            db->blockUndoRecording(false);
            db->discardLastBlock();
        }
        message(L"\n" + command.name + L" failed: " + std::wstring(OdString::fromUtf8(e.what()).c_str()));
        run.result = CommandRun::Result::Failed;
        return run;
    }
    doc.clearHighlights();
    if (command.undoGroup)
        db->blockUndoRecording(false);
    return run;
}

bool HostApplication::mayLeave() { return !m_askBeforeLeaving || !m_document || vantrel::confirmLeaving(*m_document); }

void HostApplication::runCommandLoop()
{
    m_quitRequested = false;
    for (;;) {
        InputEngine& engine = m_document ? m_document->engine() : m_engine;
        if (engine.inputEnded())
            return;
        CommandPromptSource source(engine.source());
        std::wstring line;
        InputResult answer;
        {
            SourceSwap swap(engine, source);
            InputEngine::Request request;
            request.prompt = L"Command: ";
            request.commandName = true;
            request.refusal = L"A point is not accepted here.";
            request.onText = [&line](std::wstring_view typed) {
                line = typed;
                return InputEngine::Reply::of(kInputText);
            };
            answer = engine.run(request);
        }
        if (source.ended()) {
            if (mayLeave())
                return;
            continue;
        }
        if (answer == kInputText)
            runCommand(line);
        else if (answer == kInputEmpty && !m_lastCommand.empty())
            runCommand(m_lastCommand);
        if (m_quitRequested) {
            m_quitRequested = false;
            if (mayLeave())
                return;
        }
    }
}
