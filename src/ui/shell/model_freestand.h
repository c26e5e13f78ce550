// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/main4000.h"

#include <QWidget>

struct AppContext;
struct ModelInfo;
class QPushButton;
namespace Ui {
class model_freestand;
}

// Model selection: one button per freestanding model. A pick sets the model's identity in the
// record, lays out the main form for it and opens the main menu.

class model_freestand : public QWidget
{
    Q_OBJECT

public:
    explicit model_freestand(AppContext &ctx, QWidget *parent = nullptr);
    ~model_freestand() override;

    // Runs the set-up of the model with this code, as its button does.
    void chooseModel(const QString &code);

    void Format_Custom();
    void QN4000_Model2();
    void Model_QN6000();
    void Setup_NGD();
    void Setup_UCT();
    void Setup_LBW();
    void Format_YZE();
    void unload_QN4000();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Command10_Click();
    void startNewConfiguration();
    void runSetup(const ModelInfo &model);
    // The main form the set-up lays out; nullptr where the program has none.
    main4000 *mainForm();
    void appendSpeeds(const QStringList &items);
    // The model's own mode at the right of the mode row, "STANDARD DF1 to DH+" at the left.
    void offerModes(main4000::Mode own);
    void hideHandshakeLoopback();
    // With a file named at the start: the file in the title, the models it fits marked, the
    // first of them focused.
    void showFileOffer();
    // The drive dialogs as the drive models start.
    void presetToshiba();
    void presetSiemens();

    AppContext &m_ctx;
    Ui::model_freestand *m_ui;
};

// Starts the program with a configuration file named on its command line: at the model
// selection, or, for a file no model can open (the user is told why), at the start window.
void startWithFile(AppContext &ctx, const QString &path);
