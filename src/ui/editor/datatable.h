// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame/maindialog.h"
#include "frame/numberbox.h"

struct AppContext;
class QLineEdit;
class QPushButton;

namespace Ui {
class YZE_DataTable;
class VR58_DataTable;
} // namespace Ui

// Where in the PLC the converter writes what it collects: two 16-bit words typed as decimal
// numbers, txtXXX into ProtoParam 2 (low) and 3 (high), txtYYY into 4 and 5, stored as they are
// typed. A text that is no number puts the dialog's fallback text in the box; a number that
// does not fit a word is refused, and the box shows the word the record holds.
class DataTableDialog : public MainFormDialog
{
    Q_OBJECT

public:
    static constexpr NumberRange WordRange{0, 65535};

    // Stores txtXXX's word; false, with nothing stored, when the text is no word.
    bool SetXXX();
    // Writes the record's two words into the boxes, as decimal text; their change rule then
    // stores them again.
    void showRecordWords();

protected:
    DataTableDialog(AppContext &ctx, QWidget *parent, QString fallbackX, QString fallbackY);
    void connectControls(QLineEdit *xxx, QLineEdit *yyy, QPushButton *accept);
    // Each opening shows the words the record holds, which the download sends.
    void showEvent(QShowEvent *event) override;

private:
    // Stores the box's word at ProtoParam first, first + 1; false when the text is no word.
    bool storeWord(QLineEdit *box, int first);
    void boxChanged(QLineEdit *box, int first, const QString &fallback);

    AppContext &m_ctx;
    QString m_fallbackX;
    QString m_fallbackY;
    QLineEdit *m_xxx = nullptr;
    QLineEdit *m_yyy = nullptr;
};

// A PLC file number and starting word (the YZE models; the QN4000-RW31 asks the file alone).
// Bad text empties a box and keeps the stored word, which the box shows again once the user is
// done with it.
class YZE_DataTable : public DataTableDialog
{
    Q_OBJECT

public:
    explicit YZE_DataTable(AppContext &ctx, QWidget *parent = nullptr);
    ~YZE_DataTable() override;

    // The QN4000-RW31's table: the file number alone, under the title given.
    void askFileNumberOnly(const QString &title);

private:
    Ui::YZE_DataTable *m_ui;
};

// The two destination files of the QN4000-QOF scanner, neckdowns and lumps. Bad text puts the
// usual files, 180 and 181, back.
class VR58_DataTable : public DataTableDialog
{
    Q_OBJECT

public:
    explicit VR58_DataTable(AppContext &ctx, QWidget *parent = nullptr);
    ~VR58_DataTable() override;

private:
    Ui::VR58_DataTable *m_ui;
};
