#include "formcatalog.h"

#include "editor/df_param.h"
#include "editor/main4000.h"
#include "editor/paramconfigb.h"
#include "editor/paramconfigc.h"
#include "editor/view.h"
#include "shell/formregistry.h"

// One line per form: its name and how to build it.
void defineForms(FormRegistry &forms)
{
    (void)forms;
    forms.define("main4000", [](AppContext &c) { return new main4000(c); });
    forms.define("paramConfigB", [](AppContext &c) { return new paramConfigB(c); });
    forms.define("paramConfigC", [](AppContext &c) { return new paramConfigC(c); });
    forms.define("df_Param", [](AppContext &c) { return new df_Param(c); });
    forms.define("view", [](AppContext &c) { return new view(c); });
}
