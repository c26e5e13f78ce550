// SPDX-License-Identifier: GPL-3.0-or-later
#include "formcatalog.h"

#include "editor/configfiles.h"
#include "editor/datatable.h"
#include "editor/df_param.h"
#include "editor/download.h"
#include "editor/main4000.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigb.h"
#include "editor/paramconfigc.h"
#include "editor/rio_bt.h"
#include "editor/siemens_param.h"
#include "editor/toshiba.h"
#include "editor/upload.h"
#include "editor/view.h"
#include "frame/formregistry.h"
#include "online/dhpdiag.h"
#include "online/monitor.h"
#include "shell/model_freestand.h"
#include "shell/welcome.h"
#include "shell/welcome1.h"

// One line per form: its name and how to build it.
void defineForms(FormRegistry &forms)
{
    forms.define("Welcome", [](AppContext &c) { return new Welcome(c); });
    forms.define("about", [](AppContext &c) { return new about(c); });
    forms.define("Welcome1", [](AppContext &c) { return new Welcome1(c); });
    forms.define("model_freestand", [](AppContext &c) { return new model_freestand(c); });
    forms.define("main4000", [](AppContext &c) {
        auto *form = new main4000(c);
        connectConfigurationMenu(c, *form);
        return form;
    });
    forms.define("download", [](AppContext &c) { return new download(c); });
    forms.define("upload", [](AppContext &c) { return new upload(c); });
    forms.define("paramConfigB", [](AppContext &c) { return new paramConfigB(c); });
    forms.define("paramConfigC", [](AppContext &c) { return new paramConfigC(c); });
    forms.define("df_Param", [](AppContext &c) { return new df_Param(c); });
    forms.define("view", [](AppContext &c) { return new view(c); });
    forms.define("modbus_prot", [](AppContext &c) { return new modbus_prot(c); });
    forms.define("siemens_param", [](AppContext &c) { return new siemens_param(c); });
    forms.define("YZE_DataTable", [](AppContext &c) { return new YZE_DataTable(c); });
    forms.define("VR58_DataTable", [](AppContext &c) { return new VR58_DataTable(c); });
    forms.define("rio_bt", [](AppContext &c) { return new rio_bt(c); });
    forms.define("toshiba_VFD", [](AppContext &c) { return new toshiba_VFD(c); });
    forms.define("toshiba_Super2E", [](AppContext &c) { return new toshiba_Super2E(c); });
    forms.define("monitor", [](AppContext &c) { return new monitor(c); });
    forms.define("DHPDiag", [](AppContext &c) { return new DHPDiag(c); });
}
