// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include <utility>

// What one run of the program holds: the session, the port layer, the link the transfers use,
// the forms and the print service, all asking the user through the prompts of type P (the
// windows' own, the console's, or a script's). The forms are defined, none is built yet.
template <typename P> struct ProgramParts
{
    template <typename... Args>
    explicit ProgramParts(Args &&...promptArgs) : prompts(std::forward<Args>(promptArgs)...)
    {
        forms.setContext(&context);
        defineForms(forms);
    }
    ~ProgramParts() { forms.destroyAll(); }
    ProgramParts(const ProgramParts &) = delete;
    ProgramParts &operator=(const ProgramParts &) = delete;

    Session session;
    ModComm comm;
    P prompts;
    DeviceLink link{session, comm, prompts};
    FormRegistry forms;
    QtPrintService printer{prompts};
    AppContext context{session, comm, prompts, link, forms, printer};
};
