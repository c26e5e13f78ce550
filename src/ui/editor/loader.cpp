// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader.h"

#include "apply/applyloaded.h"
#include "editor/datatable.h"
#include "editor/df_param.h"
#include "editor/main4000.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigb.h"
#include "editor/rio_bt.h"
#include "editor/siemens_param.h"
#include "editor/toshiba.h"
#include "files/fileomissions.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "session/session.h"

namespace {

main4000::Mode modeOf(ModelKind kind)
{
    using Mode = main4000::Mode;
    switch (kind) {
    case ModelKind::Bridge:
        return Mode::NGD;
    case ModelKind::RioAdapter:
    case ModelKind::RioToModbus:
        return Mode::UCT;
    case ModelKind::Modbus:
        return Mode::LBW;
    case ModelKind::DualDf1:
        return Mode::F7H;
    case ModelKind::AsciiDisplays:
    case ModelKind::Centerscan:
    case ModelKind::EatonDrives:
    case ModelKind::Scanners:
    case ModelKind::Zumbach:
        return Mode::TBQ;
    case ModelKind::MultidropMaster:
        return Mode::PXA;
    case ModelKind::Brabender:
        return Mode::JMR;
    case ModelKind::SiemensDrives:
        return Mode::WOLTA;
    case ModelKind::ToshibaDrives:
        return Mode::EPV4;
    }
    return Mode::KF2NGD;
}

// Lays the main form out for the file: its operating mode (the standard one for a mode code
// of 0), then the RIO-to-Modbus rack, then the network side, which overrides the one the
// mode's layout chose. The options' handlers write the record as they go; the core's record
// replaces what they leave.
void layOutFor(main4000 &main, const ModelInfo &model, const LoadedValues &loaded)
{
    const auto R = [&loaded](int n) -> const LoadedValue & { return loaded[n - 1]; };
    const bool standard = R(10).code() == 0;
    main.selectMode(standard ? main4000::Mode::KF2NGD : modeOf(model.kind));
    if (!standard && model.kind == ModelKind::RioToModbus) {
        main.selectRioRack(R(12).leadingNumber());
        main.selectSlaveCount(R(11).leadingNumber());
    }
    if (main.offersNetworkChoice())
        main.selectNetwork(R(1).code());
}

// The forms that exist show the record as it now stands (the others show it when opened).
void showRecordInForms(AppContext &ctx)
{
    FormRegistry &forms = ctx.forms;
    if (auto *main = qobject_cast<main4000 *>(forms.existing(QStringLiteral("main4000"))))
        main->showRecord();
    for (const char *name : {"paramConfigB", "paramConfigC"}) {
        if (auto *d = qobject_cast<ChannelParams *>(forms.existing(QLatin1String(name))))
            d->showRecord();
    }
    if (auto *d = qobject_cast<df_Param *>(forms.existing(QStringLiteral("df_Param"))))
        d->showRecord();
    if (auto *d = qobject_cast<rio_bt *>(forms.existing(QStringLiteral("rio_bt"))))
        d->fillFromRecord();
    if (auto *d = qobject_cast<siemens_param *>(forms.existing(QStringLiteral("siemens_param"))))
        d->showRecord();
    if (auto *d = qobject_cast<modbus_prot *>(forms.existing(QStringLiteral("modbus_prot"))))
        d->showRecord();
    if (auto *d = qobject_cast<toshiba_VFD *>(forms.existing(QStringLiteral("toshiba_VFD"))))
        d->showRecord();
    if (const char *table = ctx.session.model->dataTableForm) {
        if (auto *d = qobject_cast<DataTableDialog *>(forms.existing(QLatin1String(table))))
            d->showRecordWords();
    }
}

} // namespace

QList<RefusedValue> ApplyLoadedConfiguration(AppContext &ctx)
{
    // The loaded values mean something only under the model they were read for.
    if (!ctx.session.model)
        return {};
    const ModelInfo &model = *ctx.session.model;
    // The record is the core's: the file applied to the model's fresh configuration, so the
    // same file gives the same bytes whatever was configured before.
    // What the file has no place for stays as the program holds it.
    const bool oldNgd = model.asksFlashQuestion() && ctx.session.rec.UploadReplyLength == 54;
    ConfigRecord base = freshConfiguration(model, oldNgd);
    keepWhatTheFileOmits(model, ctx.session.rec, base);
    const AppliedConfiguration applied = applyLoadedValues(ctx.session.loaded, model, base);
    if (auto *main = ctx.forms.form<main4000>(QStringLiteral("main4000"))) {
        layOutFor(*main, model, ctx.session.loaded);
        // A dialog of the mode that its close box destroyed comes back now, as it would open
        // (a new one writes its defaults), so that it shows the file when opened.
        if (main->isModeSelected(main4000::Mode::WOLTA))
            ctx.forms.form(QStringLiteral("siemens_param"));
        if (model.kind == ModelKind::Modbus)
            ctx.forms.form(QStringLiteral("modbus_prot"));
    }
    ctx.session.rec = applied.record;
    showRecordInForms(ctx);
    return applied.refused;
}
