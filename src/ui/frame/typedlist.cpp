// SPDX-License-Identifier: GPL-3.0-or-later
#include "typedlist.h"

#include "frame/formutil.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// How long a refusal's note stays, unless the user types again first.
constexpr int NoteMilliseconds = 8000;

// On Windows Alt with a letter types nothing; on X11 it comes with its letter as text.
// Ctrl+Alt stays: it is AltGr there, and types characters.
bool isAltLetter(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers m = key->modifiers();
    return (m & Qt::AltModifier) && !(m & Qt::ControlModifier) && !key->text().isEmpty() &&
           key->text().front().isPrint();
}

class AltLetters : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !isAltLetter(static_cast<QKeyEvent *>(event)))
            return false;
        QApplication::beep(); // as for any Alt key that stands for nothing
        return true;
    }
};

QString shortened(const QString &typed)
{
    constexpr int Longest = 24;
    return typed.size() > Longest ? typed.left(Longest - 1) + QChar(0x2026) : typed;
}

} // namespace

void guardTypedList(QComboBox *list, QLabel *caption)
{
    if (list->lineEdit() && !list->findChild<TypedList *>(QString(), Qt::FindDirectChildrenOnly))
        new TypedList(list, caption);
}

void keepAltForAccessKeys(QWidget *box)
{
    const QString name = QStringLiteral("altLetters");
    if (box->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new AltLetters(box);
    filter->setObjectName(name);
    box->installEventFilter(filter);
}

TypedList::TypedList(QComboBox *list, QLabel *caption)
    : QObject(list)
    , m_list(list)
    , m_caption(caption)
    , m_shown(list->currentText())
{
    QLineEdit *edit = list->lineEdit();
    connect(edit, &QLineEdit::textEdited, this, [this] {
        m_typing = true;
        hideNote();
    });
    // A change that is no typing (code showing the record, a pick) is the value to go back to.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_typing)
            m_shown = text;
    });
    connect(list, &QComboBox::activated, this, [this] {
        m_typing = false;
        m_shown = m_list->currentText();
    });
    // Keys reach the list; a test (or an input method) may also send them to its line edit.
    list->installEventFilter(this);
    edit->installEventFilter(this);
}

bool TypedList::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isAltLetter(key)) {
            QApplication::beep();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            take();
        } else if (key->key() == Qt::Key_Escape && m_typing) {
            putBack();
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::PopupFocusReason: // the list's own drop-down: still choosing
            break;
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            // The user moves on: the text is taken before whatever was clicked runs.
            take();
            break;
        default:
            // Focus taken by code or by another window: the form may be hiding or going
            // away. Take the text once that is over, if the list is still there.
            QMetaObject::invokeMethod(this, &TypedList::take, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return false;
}

void TypedList::take()
{
    if (!m_typing)
        return;
    m_typing = false;
    const QString typed = m_list->currentText();
    const QString wanted = typed.trimmed();
    int n = m_list->findText(wanted, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (n < 0)
        n = m_list->findText(wanted, Qt::MatchFixedString);
    if (n >= 0 && !wanted.isEmpty()) {
        hideNote();
        selectIndex(m_list, n); // the handler runs as for a pick
        return;
    }
    refuse(typed);
}

void TypedList::putBack()
{
    m_typing = false;
    m_list->setEditText(m_shown);
}

void TypedList::refuse(const QString &typed)
{
    putBack();
    QString name = m_caption ? m_caption->text().trimmed() : QString();
    if (name.isEmpty())
        name = tr("This list");
    if (typed.trimmed().isEmpty())
        //: a list's caption, then the value it keeps
        showNote(tr("%1 cannot be empty, so it stays %2.").arg(name, m_shown));
    else
        //: a list's caption, the text typed into it, then the value it keeps
        showNote(tr("%1: \"%2\" is not in the list, so it stays %3.").arg(name, shortened(typed), m_shown));
}

void TypedList::showNote(const QString &text)
{
    QWidget *form = m_list->window();
    auto *note = form->findChild<QLabel *>(QLatin1String(NoteName), Qt::FindDirectChildrenOnly);
    if (!note) {
        note = new QLabel(form);
        note->setObjectName(QLatin1String(NoteName));
        note->setForegroundRole(QPalette::ToolTipText);
        note->setBackgroundRole(QPalette::ToolTipBase);
        note->setAutoFillBackground(true);
        note->setFrameShape(QFrame::Box);
        note->setMargin(3);
        note->setWordWrap(true);
        // Laid over the form, it lets clicks through to what lies beneath.
        note->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto *timer = new QTimer(note);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, note, &QWidget::hide);
    }
    note->setText(text);
    const int room = qMax(40, form->width() - 8);
    const int width = qMin(room, note->fontMetrics().horizontalAdvance(text) + 2 * (note->margin() + 4));
    note->resize(width, note->heightForWidth(width));
    // Under the list, or over it where the form ends; never out of the form at the side.
    QPoint at = m_list->mapTo(form, QPoint(0, m_list->height() + 2));
    if (at.y() + note->height() > form->height())
        at.setY(m_list->mapTo(form, QPoint(0, 0)).y() - note->height() - 2);
    at.setX(qBound(4, at.x(), qMax(4, form->width() - width - 4)));
    note->move(at);
    note->raise();
    note->show();
    note->findChild<QTimer *>()->start(NoteMilliseconds);
}

void TypedList::hideNote()
{
    if (auto *note =
            m_list->window()->findChild<QLabel *>(QLatin1String(NoteName), Qt::FindDirectChildrenOnly))
        note->hide();
}
