// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class DeviceLink;
class FormRegistry;
class ModComm;
class Prompts;
class PrintService;
struct Session;

// What every form is handed: the run's state, the serial port, the prompts, the device link,
// the registry through which it reaches the other forms, and the printer.
struct AppContext
{
    Session &session;
    ModComm &comm;
    Prompts &prompts;
    DeviceLink &link;
    FormRegistry &forms;
    PrintService &printer;
};
