// Building the widgets of a dialog, passing their signals on as user actions, and replaying the
// owner-drawn paintings with QPainter.
#include "QtDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <vantrel/host/DialogDC.h>
#include <vantrel/host/DialogTemplate.h>
#include <vantrel/host/hostcolor.h>

namespace vantrel {

namespace {

QColor qColor(ColorRef c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QString qText(const std::wstring& s) { return QString::fromStdWString(s); }

// Replays what an owner-drawn item drew, at the painter's origin, scaled as the dialog is.
void replay(QPainter& painter, const DialogPaint& paint, double sx, double sy)
{
    auto rect = [&](const PixelRect& r) { return QRectF(r.left * sx, r.top * sy, r.width() * sx, r.height() * sy); };
    for (const DialogPaint::Op& op : paint.ops) {
        switch (op.kind) {
        case DialogPaint::Op::Kind::Fill: painter.fillRect(rect(op.rect), qColor(op.color)); break;
        case DialogPaint::Op::Kind::Rectangle:
            painter.setPen(qColor(op.color));
            painter.setBrush(qColor(op.brush));
            painter.drawRect(rect(op.rect).adjusted(0, 0, -1, -1));
            break;
        case DialogPaint::Op::Kind::Line:
            painter.setPen(qColor(op.color));
            painter.drawLine(QPointF(op.from.x * sx, op.from.y * sy), QPointF(op.to.x * sx, op.to.y * sy));
            break;
        case DialogPaint::Op::Kind::Text: {
            int flags = Qt::TextSingleLine;
            flags |= op.format & DialogDC::kTextCenter ? Qt::AlignHCenter
                : op.format & DialogDC::kTextRight     ? Qt::AlignRight
                                                       : Qt::AlignLeft;
            flags |= op.format & DialogDC::kTextVCenter ? Qt::AlignVCenter
                : op.format & DialogDC::kTextBottom     ? Qt::AlignBottom
                                                        : Qt::AlignTop;
            painter.setPen(qColor(op.color));
            painter.drawText(rect(op.rect), flags, qText(op.text));
            break;
        }
        }
    }
}

// An owner-drawn static: its handler's last painting.
class OwnerDrawn : public QWidget {
public:
    OwnerDrawn(const DialogControl& control, double sx, double sy) : m_control(control), m_sx(sx), m_sy(sy) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (const DialogPaint& paint : m_control.paints)
            replay(painter, paint, m_sx, m_sy);
    }

private:
    const DialogControl& m_control;
    double m_sx, m_sy;
};

// An up-down control: two arrows that step the value by one.
class UpDown : public QWidget {
public:
    UpDown(const std::function<void(int)>& step)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int delta : {+1, -1}) {
            auto* arrow = new QToolButton(this);
            arrow->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setObjectName(delta > 0 ? "up" : "down");
            arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            connect(arrow, &QToolButton::clicked, this, [step, delta] { step(delta); });
            layout->addWidget(arrow);
        }
    }
};

} // namespace

QtDialog::QtDialog(hostUiDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog)
{
    setModal(true);
    setWindowTitle(qText(dialog.dialogTemplate().caption));
    // Dialog units are a quarter of the font's average character width across and an eighth of
    // its height down; the controls' pixels assume the toolkit's own base units.
    const QFontMetrics metrics(font());
    m_unitX = static_cast<double>(metrics.averageCharWidth()) / DialogTemplate::kBaseUnitX;
    m_unitY = static_cast<double>(metrics.height()) / DialogTemplate::kBaseUnitY;
    const PixelRect client = dialog.dialogTemplate().clientRect();
    setFixedSize(static_cast<int>(client.width() * m_unitX), static_cast<int>(client.height() * m_unitY));
    build();
    sync();
}

void QtDialog::build()
{
    for (const auto& control : m_dialog.controls()) {
        const bool known
            = std::any_of(m_shown.begin(), m_shown.end(), [&](const Shown& s) { return s.control == control.get(); });
        if (known)
            continue;
        QWidget* widget = make(*control);
        place(*control, widget);
        m_shown.push_back({control.get(), widget});
        if (control->id != kNoControlId) {
            m_byId[control->id] = widget;
            widget->setObjectName(QString("control%1").arg(control->id));
        }
        widget->installEventFilter(this);
    }
}

QWidget* QtDialog::make(const DialogControl& control)
{
    const int id = control.id;
    switch (control.kind) {
    case DialogControlKind::Static:
        if (control.isOwnerDrawn())
            return new OwnerDrawn(control, m_unitX, m_unitY);
        return new QLabel(this);
    case DialogControlKind::GroupBox: return new QGroupBox(this);
    case DialogControlKind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(control.style & DialogStyle::kEditReadOnly);
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { act([&] { return m_dialog.userType(id, text.toStdWString()); }); });
        return edit;
    }
    case DialogControlKind::ComboBox: {
        auto* combo = new QComboBox(this);
        connect(combo, &QComboBox::activated, this,
                [this, id](int index) { act([&] { return m_dialog.userSelect(id, index); }); });
        return combo;
    }
    case DialogControlKind::PushButton: {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        button->setDefault(control.isDefaultButton());
        connect(button, &QPushButton::clicked, this, [this, id] { act([&] { return m_dialog.userClick(id); }); });
        return button;
    }
    case DialogControlKind::RadioButton: {
        auto* radio = new QRadioButton(this);
        // The dialog keeps which button of a group is checked.
        radio->setAutoExclusive(false);
        connect(radio, &QRadioButton::clicked, this, [this, id] { act([&] { return m_dialog.userClick(id); }); });
        return radio;
    }
    case DialogControlKind::UpDown:
        return new UpDown([this, id](int delta) { act([&] { return m_dialog.userSpin(id, delta); }); });
    }
    return new QWidget(this);
}

void QtDialog::place(const DialogControl& control, QWidget* widget)
{
    widget->setParent(this);
    const PixelRect& r = control.rect;
    // A drop-down list's rectangle includes its open list; the closed field is what shows.
    const int height = control.kind == DialogControlKind::ComboBox ? control.fieldHeight() : r.height();
    widget->setGeometry(static_cast<int>(r.left * m_unitX), static_cast<int>(r.top * m_unitY),
                        static_cast<int>(r.width() * m_unitX), static_cast<int>(height * m_unitY));
}

void QtDialog::act(const std::function<std::wstring()>& action)
{
    if (m_syncing || m_dialog.isEnding())
        return;
    const std::wstring refusal = action();
    if (!refusal.empty())
        QMessageBox::warning(this, windowTitle(), qText(refusal));
    m_dialog.settle();
    if (m_dialog.isEnding()) {
        done(m_dialog.result());
        return;
    }
    build();
    sync();
}

void QtDialog::sync()
{
    m_syncing = true;
    for (const Shown& s : m_shown)
        syncOne(*s.control, s.widget);
    if (QWidget* focus = widget(m_dialog.focusId()); focus && !focus->hasFocus())
        focus->setFocus();
    m_syncing = false;
}

void QtDialog::syncOne(const DialogControl& control, QWidget* widget)
{
    widget->setVisible(control.visible);
    widget->setEnabled(control.enabled);
    const QString text = qText(control.text);
    switch (control.kind) {
    case DialogControlKind::Static:
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else
            widget->update();
        break;
    case DialogControlKind::GroupBox: static_cast<QGroupBox*>(widget)->setTitle(text); break;
    case DialogControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        if (edit->text() != text)
            edit->setText(text);
        break;
    }
    case DialogControlKind::PushButton: static_cast<QPushButton*>(widget)->setText(text); break;
    case DialogControlKind::RadioButton: {
        auto* radio = static_cast<QRadioButton*>(widget);
        radio->setText(text);
        radio->setChecked(control.check != 0);
        break;
    }
    case DialogControlKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(widget);
        combo->clear();
        // Owner-drawn items show what their handler drew for them in the list.
        std::map<int, const DialogPaint*> painted;
        for (const DialogPaint& p : control.paints)
            if (!(p.state & kItemComboBoxEdit))
                painted[p.item] = &p;
        for (std::size_t i = 0; i < control.items.size(); ++i) {
            const auto found = painted.find(static_cast<int>(i));
            if (found == painted.end() || found->second->ops.empty()) {
                combo->addItem(qText(control.items[i].text));
                continue;
            }
            const DialogPaint& p = *found->second;
            QPixmap picture(static_cast<int>(p.rect.width() * m_unitX), static_cast<int>(p.rect.height() * m_unitY));
            picture.fill(Qt::white);
            QPainter painter(&picture);
            painter.translate(-p.rect.left * m_unitX, -p.rect.top * m_unitY);
            replay(painter, p, m_unitX, m_unitY);
            painter.end();
            combo->addItem(QIcon(picture), qText(control.items[i].text));
        }
        if (!control.items.empty())
            combo->setIconSize(QSize(static_cast<int>(control.rect.width() * m_unitX * 0.6),
                                     static_cast<int>(std::max(1, control.itemHeight) * m_unitY)));
        combo->setCurrentIndex(control.curSel);
        break;
    }
    case DialogControlKind::UpDown: break;
    }
}

QWidget* QtDialog::widget(int id) const
{
    const auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : found->second;
}

int QtDialog::idOf(QObject* widget) const
{
    for (const Shown& s : m_shown)
        if (s.widget == widget)
            return s.control->id;
    return kNoControlId;
}

void QtDialog::run() { exec(); }

void QtDialog::reject()
{
    // Esc and the window's close button are Cancel, which the dialog may refuse.
    act([this] {
        m_dialog.userCancel();
        return std::wstring();
    });
}

bool QtDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !m_syncing) {
        const int id = idOf(watched);
        if (id != kNoControlId && id != m_dialog.focusId())
            act([&] { return m_dialog.userFocus(id); });
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            act([this] {
                m_dialog.userEnter();
                return std::wstring();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QtDialog::uninstall()
{
    hostSetColorChooser(nullptr);
    hostUiDialog::setModalRunner(nullptr);
}

void QtDialog::install(QWidget* parent, const std::function<bool()>& useWindows)
{
    hostSetColorChooser([parent, useWindows](const OdCmColor& opening) {
        HostColorChoice choice;
        if (!useWindows())
            return choice;
        choice.handled = true;
        const QColor chosen = QColorDialog::getColor(QColor::fromRgb(opening.rgb() & 0xFFFFFF), parent, "Select color");
        if (chosen.isValid())
            choice.color
                = OdCmColor::byRGB(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                                   static_cast<std::uint8_t>(chosen.blue()));
        return choice;
    });
    hostUiDialog::setModalRunner([parent, useWindows](hostUiDialog& dialog) {
        if (!useWindows())
            return false;
        QtDialog shown(dialog, parent);
        shown.run();
        return true;
    });
}

} // namespace vantrel
