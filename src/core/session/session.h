// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/loadedvalues.h"

#include <QList>
#include <QString>

// The state of one run of the program: the configuration being edited, what the last file
// read left in the loaded-values table, and the port the user chose. The application owns
// one and hands it to forms and engines by reference; a test makes a fresh one per case.
// What an exchange leaves (its status, time-out, reply, stop request) is the state of the
// engine that runs it, not of the session.
struct Session
{
    // The chosen model, set where the user picks one; nullptr until then.
    const ModelInfo *model = nullptr;
    ConfigRecord rec;
    LoadedValues loaded;
    // Where the configuration file dialogs start: the folder of the last file chosen in them
    // in this run, or empty for the home folder.
    QString fileFolder;
    // A configuration file named when the program was started (opened from the desktop):
    // the models whose layout it fits are offered first, and it is opened once a model and a
    // port are chosen. Empty again once opened.
    struct FileToOpen
    {
        QString path;
        QList<const ModelInfo *> fitting;
    } fileToOpen;

    // The link to the converter.
    int PortNumber = 0;          // the chosen COM port, 1..8; 0 while none is chosen
    bool PortTestedGood = false; // the chosen port passed the main menu's test
    bool WhoActiveMode = false;  // the operating mode is one the DH+ diagnostics work in
};
