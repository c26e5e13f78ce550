#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/loadedvalues.h"

#include <QString>

#include <array>

// The state of one run of the program: the configuration being edited, what the last file
// read left in the loaded-values table, and the state of the link to the converter. The
// application owns one and hands it to forms and engines by reference; a test makes a fresh
// one per case.
struct Session
{
    // The chosen model, set where the user picks one; nullptr until then.
    const ModelInfo *model = nullptr;
    ConfigRecord rec;
    LoadedValues loaded;

    // Link state.
    int PortNumber = 0;       // the chosen COM port, 1..8; 0 while none is chosen
    int CommStatus = 0;       // result of the last serial operation called by the link layer
    QString CommErrorText;    // the last error line of the serial layer
    bool TimeoutFlag = false; // true while a receive waits; the time-out ends the wait
    bool ReplyByte = false;   // the last acknowledge check found 0x06
    std::array<int, 201> RxBuffer{};
    bool StopRequest = true;     // asks a running long operation to stop
    bool PortTestedGood = false; // the chosen port passed the main menu's test
    bool WhoActiveMode = false;  // the operating mode is one the DH+ diagnostics work in
};
