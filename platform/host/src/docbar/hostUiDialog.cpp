// The dialog toolkit's core and its command-line backend: a modal run is a request loop on a
// command line whose `!dlg` events act on the controls as a user's clicks and keys would.
#include <vantrel/host/hostUiDialog.h>

#include <algorithm>
#include <cassert>
#include <cwctype>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <vantrel/db/OdError.h>
#include <vantrel/host/DialogDC.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/UiComboBox.h>
#include <vantrel/host/UiUpDown.h>
#include <vantrel/host/dialog_resources.h>

using vantrel::DialogControl;
using vantrel::DialogControlKind;
using vantrel::InputEngine;
using vantrel::InputSyntax;
using vantrel::kNoControlId;

namespace {

hostUiDialog::StateObserver& stateObserver()
{
    static hostUiDialog::StateObserver observer;
    return observer;
}

const vantrel::DialogTemplate& lookUpTemplate(unsigned id, vantrel::ModuleHandle instance)
{
    vantrel::ModuleHandle module = instance ? instance : vantrel::dialogResourceModule();
    const vantrel::DialogTemplate* found = vantrel::findDialogTemplate(module, id);
    if (!found)
        throw OdError(eKeyNotFound, "no dialog template " + std::to_string(id) + " in the resource module");
    return *found;
}

// The command line a dialog reads its events from.
std::wstring lowered(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t c : text)
        out.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    return out;
}

// The next blank-separated word of `rest`, which keeps what follows it (blanks included).
std::wstring_view nextWord(std::wstring_view& rest)
{
    rest = InputSyntax::trim(rest);
    std::size_t blank = rest.find_first_of(L" \t");
    std::wstring_view word = rest.substr(0, blank);
    rest = blank == std::wstring_view::npos ? std::wstring_view() : rest.substr(blank + 1);
    return word;
}

std::optional<int> controlId(std::wstring_view word)
{
    auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    if (word.empty() || word.size() > 9 || !std::all_of(word.begin(), word.end(), digit))
        return std::nullopt;
    return std::stoi(std::wstring(word));
}

std::wstring kindName(DialogControlKind kind)
{
    switch (kind) {
    case DialogControlKind::Static: return L"a static text";
    case DialogControlKind::Edit: return L"an edit field";
    case DialogControlKind::ComboBox: return L"a combo box";
    case DialogControlKind::PushButton: return L"a button";
    case DialogControlKind::RadioButton: return L"a radio button";
    case DialogControlKind::UpDown: return L"an up-down control";
    case DialogControlKind::GroupBox: return L"a group box";
    }
    return L"a control";
}

bool takesFocus(DialogControlKind kind)
{
    return kind == DialogControlKind::Edit || kind == DialogControlKind::ComboBox
        || kind == DialogControlKind::PushButton || kind == DialogControlKind::RadioButton;
}

} // namespace

// One modal run on a command line: the request that stands for the open dialog, and the
// meaning of each `!dlg` event.
class hostUiDialog::Run {
public:
    Run(hostUiDialog& dialog, InputEngine& engine) : m_dialog(dialog), m_engine(engine)
    {
        const std::wstring& caption = dialog.m_template.caption;
        std::wstring title = caption.empty() ? L"Dialog " + std::to_wstring(dialog.m_template.id) : caption;
        m_request.prompt = HostEditor::promptText(title.c_str(), nullptr);
        m_request.onText = [](std::wstring_view) {
            return InputEngine::Reply::refuse(L"A dialog is open: give !dlg click, text, focus, spin or select with a "
                                              L"control id, !dlg ok or !dlg cancel.");
        };
        m_request.refusal = L"A point is not accepted here.";
        m_request.onDialog = [this](std::wstring_view words) { return event(words); };
    }

    void loop()
    {
        while (!m_dialog.m_ending) {
            InputResult result = m_engine.run(m_request);
            if (result == kInputEmpty && !m_dialog.m_ending)
                m_dialog.userEnter();
            if (result == kInputCancel && !m_dialog.m_ending) {
                m_dialog.command(IDCANCEL);
                // Once the input has ended nobody can answer the dialog any more.
                if (!m_dialog.m_ending && m_engine.inputEnded())
                    m_dialog.EndDialog(IDCANCEL);
            }
            m_dialog.settle();
        }
    }

private:
    using Reply = InputEngine::Reply;

    Reply event(std::wstring_view words)
    {
        std::wstring_view rest = words;
        const std::wstring verb = lowered(nextWord(rest));
        if (verb == L"ok" || verb == L"cancel") {
            if (!InputSyntax::trim(rest).empty())
                return Reply::refuse(L"!dlg " + verb + L" takes nothing after it.");
            m_dialog.command(verb == L"ok" ? IDOK : IDCANCEL);
            return Reply::of(kInputValue);
        }
        if (verb != L"click" && verb != L"text" && verb != L"focus" && verb != L"spin" && verb != L"select")
            return Reply::refuse(L"Unknown dialog event \"" + verb
                                 + L"\"; the dialog takes click, text, focus, spin, select, ok and cancel.");

        std::optional<int> id = controlId(nextWord(rest));
        if (!id)
            return Reply::refuse(L"!dlg " + verb + L" needs a control id.");
        DialogControl* control = m_dialog.control(*id);
        const std::wstring name = L"Control " + std::to_wstring(*id);
        if (!control)
            return Reply::refuse(L"The dialog has no control " + std::to_wstring(*id) + L".");
        if (!control->visible)
            return Reply::refuse(name + L" is not shown.");
        if (!control->enabled)
            return Reply::refuse(name + L" is disabled.");

        if (verb == L"click")
            return click(*control, name, rest);
        if (verb == L"text")
            return type(*control, name, rest);
        if (verb == L"focus")
            return focus(*control, name, rest);
        if (verb == L"spin")
            return spin(*control, name, rest);
        return select(*control, name, rest);
    }

    static Reply answer(const std::wstring& refusal)
    {
        return refusal.empty() ? Reply::of(kInputValue) : Reply::refuse(refusal);
    }

    Reply click(DialogControl& control, const std::wstring&, std::wstring_view rest)
    {
        if (!InputSyntax::trim(rest).empty()
            && (control.kind == DialogControlKind::PushButton || control.kind == DialogControlKind::RadioButton))
            return Reply::refuse(L"!dlg click takes only a control id.");
        return answer(m_dialog.userClick(control.id));
    }

    Reply type(DialogControl& control, const std::wstring&, std::wstring_view rest)
    {
        return answer(m_dialog.userType(control.id, std::wstring(rest)));
    }

    Reply focus(DialogControl& control, const std::wstring&, std::wstring_view rest)
    {
        if (!InputSyntax::trim(rest).empty() && takesFocus(control.kind))
            return Reply::refuse(L"!dlg focus takes only a control id.");
        return answer(m_dialog.userFocus(control.id));
    }

    Reply spin(DialogControl& control, const std::wstring& name, std::wstring_view rest)
    {
        if (control.kind != DialogControlKind::UpDown)
            return Reply::refuse(name + L" is " + kindName(control.kind) + L", not an up-down control.");
        std::optional<std::int32_t> step = InputSyntax::parseInteger(InputSyntax::trim(rest));
        if (!step)
            return Reply::refuse(L"!dlg spin needs a control id and a step such as +1 or -1.");
        return answer(m_dialog.userSpin(control.id, *step));
    }

    Reply select(DialogControl& control, const std::wstring& name, std::wstring_view rest)
    {
        if (control.kind != DialogControlKind::ComboBox)
            return Reply::refuse(name + L" is " + kindName(control.kind) + L", not a combo box.");
        const std::wstring text(InputSyntax::trim(rest));
        if (text.empty())
            return Reply::refuse(L"!dlg select needs a control id and the text of an item.");
        const int index = vantrel::UiComboBox(m_dialog, control.id).FindStringExact(-1, text);
        if (index == vantrel::UiComboBox::kError)
            return Reply::refuse(L"Combo box " + std::to_wstring(control.id) + L" has no item \"" + text + L"\".");
        return answer(m_dialog.userSelect(control.id, index));
    }

    hostUiDialog& m_dialog;
    InputEngine& m_engine;
    InputEngine::Request m_request;
};

hostUiDialog::hostUiDialog(const vantrel::DialogTemplate& dialogTemplate, HostWindowId parent)
    : m_template(dialogTemplate), m_parent(parent)
{
}

hostUiDialog::hostUiDialog(unsigned templateId, HostWindowId parent, vantrel::ModuleHandle instance)
    : hostUiDialog(lookUpTemplate(templateId, instance), parent)
{
}

hostUiDialog::~hostUiDialog() = default;

int hostUiDialog::DoModal()
{
    assert(!m_open && "a dialog runs once at a time");
    InputEngine* engine = HostApplication::dialogEngine(m_parent);
    if (!engine)
        return -1;

    // What the run leaves behind is dropped however it ends: the handlers it registered, and
    // the open state.
    struct Closing {
        hostUiDialog& dialog;
        std::size_t keptHandlers;
        ~Closing()
        {
            dialog.m_handlers.erase(dialog.m_handlers.begin() + static_cast<std::ptrdiff_t>(keptHandlers),
                                    dialog.m_handlers.end());
            dialog.m_open = false;
        }
    } closing{*this, m_handlers.size()};

    m_controls.clear();
    m_focus = kNoControlId;
    m_result = 0;
    m_ending = false;
    m_open = true;

    OnCreate();
    for (const vantrel::DialogControlTemplate& declared : m_template.controls) {
        DialogControl* previous = m_controls.empty() ? nullptr : m_controls.back().get();
        DialogControl& control = addControl(declared, vantrel::DialogTemplate::toPixels(declared.rect));
        if (control.kind == DialogControlKind::UpDown && (control.style & vantrel::DialogStyle::kUpDownAutoBuddy)
            && previous)
            control.buddy = previous->id;
    }
    if (OnInitDialog() && !m_ending) {
        auto first = std::find_if(m_controls.begin(), m_controls.end(), [](const auto& c) {
            return takesFocus(c->kind) && c->visible && c->enabled && c->id != kNoControlId;
        });
        m_focus = first == m_controls.end() ? kNoControlId : (*first)->id;
    }
    if (!m_ending) {
        paintPending();
        observe();
        // A front end with windows of its own may show the dialog; otherwise, or when it
        // declines, the dialog runs on the command line.
        const ModalRunner& runner = modalRunner();
        if (!runner || !runner(*this)) {
            Run run(*this, *engine);
            run.loop();
        }
    }
    return m_result;
}

void hostUiDialog::EndDialog(int result)
{
    m_result = result;
    m_ending = true;
}

vantrel::UiControl hostUiDialog::GetDlgItem(int id) { return vantrel::UiControl(*this, id); }

void hostUiDialog::CheckRadioButton(int first, int last, int check)
{
    for (const auto& control : m_controls)
        if (control->kind == DialogControlKind::RadioButton && control->id >= first && control->id <= last)
            control->check = control->id == check ? 1 : 0;
}

int hostUiDialog::GetCheckedRadioButton(int first, int last) const
{
    for (const auto& control : m_controls)
        if (control->kind == DialogControlKind::RadioButton && control->id >= first && control->id <= last
            && control->check)
            return control->id;
    return 0;
}

vantrel::UiControl hostUiDialog::CreateControl(int id, DialogControlKind kind, const std::wstring& text,
                                               std::uint32_t style, const vantrel::PixelRect& rect)
{
    assert(m_open && "controls are created while the dialog runs");
    vantrel::DialogControlTemplate declared;
    declared.id = id;
    declared.kind = kind;
    declared.text = text;
    declared.style = style;
    declared.hidden = !(style & vantrel::DialogStyle::kVisible);
    addControl(declared, rect);
    return vantrel::UiControl(*this, id);
}

DialogControl& hostUiDialog::addControl(const vantrel::DialogControlTemplate& declared, const vantrel::PixelRect& rect)
{
    auto control = std::make_unique<DialogControl>();
    control->id = declared.id;
    control->kind = declared.kind;
    control->style = declared.style;
    if (declared.kind != DialogControlKind::ComboBox)
        control->text = declared.text;
    control->rect = rect;
    control->visible = !declared.hidden;
    control->enabled = !(declared.style & vantrel::DialogStyle::kDisabled);
    control->needsPaint = control->isOwnerDrawn();
    m_controls.push_back(std::move(control));
    return *m_controls.back();
}

void hostUiDialog::onClicked(int id, std::function<void()> handler)
{
    addHandler({id, Event::Clicked, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onEditChange(int id, std::function<void()> handler)
{
    addHandler({id, Event::EditChange, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onKillFocus(int id, std::function<void()> handler)
{
    addHandler({id, Event::KillFocus, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onDropDown(int id, std::function<void()> handler)
{
    addHandler({id, Event::DropDown, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onSelEndOk(int id, std::function<void()> handler)
{
    addHandler({id, Event::SelEndOk, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onSelChange(int id, std::function<void()> handler)
{
    addHandler({id, Event::SelChange, std::move(handler), {}, {}, {}});
}

void hostUiDialog::onUpDownDelta(int id, std::function<void(vantrel::UpDownEvent&)> handler)
{
    addHandler({id, Event::UpDownDelta, {}, std::move(handler), {}, {}});
}

void hostUiDialog::onDrawItem(int id, std::function<void(vantrel::DrawItemEvent&)> handler)
{
    addHandler({id, Event::DrawItem, {}, {}, std::move(handler), {}});
}

void hostUiDialog::onMeasureItem(int id, std::function<void(vantrel::MeasureItemEvent&)> handler)
{
    addHandler({id, Event::MeasureItem, {}, {}, {}, std::move(handler)});
}

const DialogControl* hostUiDialog::control(int id) const
{
    if (id == kNoControlId)
        return nullptr;
    auto found = std::find_if(m_controls.begin(), m_controls.end(), [id](const auto& c) { return c->id == id; });
    return found == m_controls.end() ? nullptr : found->get();
}

DialogControl* hostUiDialog::control(int id) { return const_cast<DialogControl*>(std::as_const(*this).control(id)); }

hostUiDialog::StateObserver hostUiDialog::setStateObserver(StateObserver observer)
{
    return std::exchange(stateObserver(), std::move(observer));
}

std::wstring hostUiDialog::refusal(int id, std::initializer_list<DialogControlKind> kinds, const wchar_t* what)
{
    DialogControl* c = control(id);
    const std::wstring name = L"Control " + std::to_wstring(id);
    if (!c)
        return L"The dialog has no control " + std::to_wstring(id) + L".";
    if (!c->visible)
        return name + L" is not shown.";
    if (!c->enabled)
        return name + L" is disabled.";
    if (std::find(kinds.begin(), kinds.end(), c->kind) == kinds.end())
        return name + L" is " + kindName(c->kind) + what;
    return {};
}

std::wstring hostUiDialog::userClick(int id)
{
    std::wstring why = refusal(id, {DialogControlKind::PushButton, DialogControlKind::RadioButton},
                               L"; only buttons can be clicked.");
    if (why.empty())
        click(*control(id));
    return why;
}

// Typing replaces the whole text; the field gets the focus first, as a click into it would.
std::wstring hostUiDialog::userType(int id, const std::wstring& text)
{
    std::wstring why = refusal(id, {DialogControlKind::Edit}, L", not an edit field.");
    if (!why.empty())
        return why;
    if (control(id)->style & vantrel::DialogStyle::kEditReadOnly)
        return L"Control " + std::to_wstring(id) + L" is read-only.";
    moveFocus(id);
    // The field that lost the focus may have taken it back.
    if (m_focus == id)
        vantrel::UiControl(*this, id).SetWindowText(text);
    return {};
}

std::wstring hostUiDialog::userFocus(int id)
{
    std::wstring why = refusal(id,
                               {DialogControlKind::Edit, DialogControlKind::ComboBox, DialogControlKind::PushButton,
                                DialogControlKind::RadioButton},
                               L" and cannot take the focus.");
    if (why.empty())
        moveFocus(id);
    return why;
}

std::wstring hostUiDialog::userSpin(int id, int step)
{
    std::wstring why = refusal(id, {DialogControlKind::UpDown}, L", not an up-down control.");
    if (why.empty())
        upDownDelta(*control(id), step);
    return why;
}

// Opening the list, choosing the item and closing the list: the list's confirmation comes
// before the selection change, so that a control class has taken the choice in when the
// dialog hears of it.
std::wstring hostUiDialog::userSelect(int id, int index)
{
    std::wstring why = refusal(id, {DialogControlKind::ComboBox}, L", not a combo box.");
    if (!why.empty())
        return why;
    if (index < 0 || index >= static_cast<int>(control(id)->items.size()))
        return L"Combo box " + std::to_wstring(id) + L" has no item " + std::to_wstring(index) + L".";
    moveFocus(id);
    if (m_focus != id)
        return {};
    fire(id, Event::DropDown);
    vantrel::UiComboBox(*this, id).SetCurSel(index);
    fire(id, Event::SelEndOk);
    fire(id, Event::SelChange);
    return {};
}

void hostUiDialog::userOk() { command(IDOK); }

void hostUiDialog::userCancel() { command(IDCANCEL); }

// Enter presses the default button (IDOK when there is none).
void hostUiDialog::userEnter()
{
    for (const auto& c : m_controls) {
        if (c->isDefaultButton() && c->id != kNoControlId) {
            if (c->visible && c->enabled)
                click(*c);
            return;
        }
    }
    command(IDOK);
}

void hostUiDialog::settle()
{
    if (!m_ending) {
        paintPending();
        observe();
    }
}

hostUiDialog::ModalRunner& hostUiDialog::modalRunner()
{
    static ModalRunner runner;
    return runner;
}

hostUiDialog::ModalRunner hostUiDialog::setModalRunner(ModalRunner runner)
{
    return std::exchange(modalRunner(), std::move(runner));
}

void hostUiDialog::addHandler(Handler handler) { m_handlers.push_back(std::move(handler)); }

bool hostUiDialog::hasHandler(int id, Event event) const
{
    return std::any_of(m_handlers.begin(), m_handlers.end(),
                       [&](const Handler& h) { return h.id == id && h.event == event; });
}

// Handlers may register more handlers; each runs from a copy, so the list may grow meanwhile.
void hostUiDialog::fire(int id, Event event)
{
    for (std::size_t i = 0, n = m_handlers.size(); i < n; ++i)
        if (m_handlers[i].id == id && m_handlers[i].event == event) {
            std::function<void()> handler = m_handlers[i].plain;
            handler();
        }
}

void hostUiDialog::click(DialogControl& control)
{
    if (control.isAutoRadio()) {
        // The group runs from the control that starts it (or the first) to the next that starts one.
        auto at
            = std::find_if(m_controls.begin(), m_controls.end(), [&](const auto& c) { return c.get() == &control; });
        assert(at != m_controls.end());
        auto start = at;
        while (start != m_controls.begin() && !((*start)->style & vantrel::DialogStyle::kGroup))
            --start;
        auto end = std::find_if(at + 1, m_controls.end(),
                                [](const auto& c) { return (c->style & vantrel::DialogStyle::kGroup) != 0; });
        for (auto it = start; it != end; ++it)
            if ((*it)->isAutoRadio())
                (*it)->check = it->get() == &control ? 1 : 0;
    }
    command(control.id);
}

void hostUiDialog::command(int id)
{
    if (hasHandler(id, Event::Clicked))
        fire(id, Event::Clicked);
    else if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void hostUiDialog::upDownDelta(DialogControl& control, int delta)
{
    vantrel::UpDownEvent event{control.id, control.pos, delta, false};
    for (std::size_t i = 0, n = m_handlers.size(); i < n; ++i)
        if (m_handlers[i].id == control.id && m_handlers[i].event == Event::UpDownDelta) {
            std::function<void(vantrel::UpDownEvent&)> handler = m_handlers[i].upDown;
            handler(event);
        }
    if (!event.preventChange)
        vantrel::UiUpDown(*this, control.id).SetPos(control.pos + delta);
}

void hostUiDialog::moveFocus(int id)
{
    const int before = m_focus;
    if (before == id)
        return;
    m_focus = id;
    if (before != kNoControlId)
        fire(before, Event::KillFocus);
}

void hostUiDialog::paintPending()
{
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        DialogControl& control = *m_controls[i];
        if (control.needsPaint && control.visible && control.isOwnerDrawn())
            paint(control);
    }
}

// An owner-drawn static is one item over its whole area. An owner-drawn combo box paints its
// selection field, then every item of its list where the open list would show it.
void hostUiDialog::paint(DialogControl& control)
{
    assert(control.isOwnerDrawn());
    control.needsPaint = false;
    const unsigned disabled = control.enabled ? 0 : vantrel::kItemDisabled;
    const int width = control.rect.width();
    std::vector<vantrel::DialogPaint> paints;
    auto draw = [&](int item, unsigned state, const vantrel::PixelRect& rect, std::uintptr_t data) {
        vantrel::DialogPaint paint;
        paint.item = item;
        paint.state = state;
        paint.rect = rect;
        vantrel::DialogDC dc(paint);
        vantrel::DrawItemEvent event{control.id, item, state, rect, data, dc};
        for (std::size_t i = 0, n = m_handlers.size(); i < n; ++i)
            if (m_handlers[i].id == control.id && m_handlers[i].event == Event::DrawItem) {
                std::function<void(vantrel::DrawItemEvent&)> handler = m_handlers[i].draw;
                handler(event);
            }
        paints.push_back(std::move(paint));
    };

    if (control.kind == DialogControlKind::Static) {
        draw(0, disabled, {0, 0, width, control.rect.height()}, 0);
    } else {
        if (control.itemHeight == 0)
            measure(control);
        const int field = control.fieldHeight();
        const int itemHeight = control.itemHeight;
        if (control.curSel >= 0 && control.curSel < static_cast<int>(control.items.size())) {
            const unsigned focus = m_focus == control.id ? vantrel::kItemSelected | vantrel::kItemFocus : 0;
            draw(control.curSel, vantrel::kItemComboBoxEdit | focus | disabled,
                 {3, 3, width - 3 - vantrel::DialogDC::kVScrollWidth, 3 + itemHeight},
                 control.items[static_cast<std::size_t>(control.curSel)].data);
        }
        const int listWidth = std::max(width, control.droppedWidth);
        for (std::size_t i = 0; i < control.items.size(); ++i) {
            const int top = field + static_cast<int>(i) * itemHeight;
            draw(static_cast<int>(i), static_cast<int>(i) == control.curSel ? vantrel::kItemSelected : 0,
                 {1, top, listWidth - 1, top + itemHeight}, control.items[i].data);
        }
    }
    control.paints = std::move(paints);
    ++control.paintCount;
}

void hostUiDialog::measure(DialogControl& control)
{
    vantrel::MeasureItemEvent event{control.id, 0, control.rect.width(), vantrel::DialogTemplate::kBaseUnitY,
                                    control.items.empty() ? 0 : control.items.front().data};
    for (std::size_t i = 0, n = m_handlers.size(); i < n; ++i)
        if (m_handlers[i].id == control.id && m_handlers[i].event == Event::MeasureItem) {
            std::function<void(vantrel::MeasureItemEvent&)> handler = m_handlers[i].measure;
            handler(event);
        }
    control.itemHeight = std::max(1, event.itemHeight);
}

void hostUiDialog::observe() const
{
    if (const StateObserver& observer = stateObserver())
        observer(*this);
}
