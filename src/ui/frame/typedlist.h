// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;
class QLabel;
class QWidget;

// An editable list shows only what the record holds. What the user types is taken when Enter
// is pressed or the list is left: text that names one of the items (blanks around it and the
// letter case aside) is that item's pick, and the list's handler runs as for a click; any other
// text is refused, the list shows its value again and a note under it says why. Escape puts
// the value back. caption names the list in the note (its text at the time).
void guardTypedList(QComboBox *list, QLabel *caption);

// Alt with a key that is no access key of the window types nothing into a text box or list:
// the letter would stand for a command the user meant, not for text.
void keepAltForAccessKeys(QWidget *box);

class TypedList : public QObject
{
    Q_OBJECT

public:
    TypedList(QComboBox *list, QLabel *caption);

    // The note a refusal shows: a small tip-coloured label over the form, under the list.
    static constexpr const char *NoteName = "typedListNote";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void take();
    void putBack();
    void refuse(const QString &typed);
    void showNote(const QString &text);
    void hideNote();

    QComboBox *m_list;
    QPointer<QLabel> m_caption;
    // What the list showed before the user began to type: the record's value.
    QString m_shown;
    bool m_typing = false;
};
