#include "ui/option_dialogs.h"

#include "ui/debug_option_dlg.h"
#include "ui/ir_comm_option_dlg.h"

namespace dh1 {

namespace {

// Shows the dialog with the options as its members; OK leaves the edited ones there.
template <typename Dialog, typename Options>
bool Edit(Options& options, const COptionDialogs::ModalRunner& runModal)
{
    Dialog dialog;
    static_cast<Options&>(dialog) = options;
    dialog.OnInitDialog();
    const int result = runModal ? runModal(dialog) : dialog.exec();
    if (result != QDialog::Accepted)
        return false;
    options = dialog;
    return true;
}

} // namespace

OptionEditorFactories::Factory COptionDialogs::Factory(ModalRunner runModal)
{
    return [runModal] { return std::make_unique<COptionDialogs>(runModal); };
}

bool COptionDialogs::EditIrCommOptions(CIrCommOptions& options)
{
    return Edit<CIrCommOptionDlg>(options, m_runModal);
}

bool COptionDialogs::EditDebugOptions(CDebugOptions& options)
{
    return Edit<CDebugOptionDlg>(options, m_runModal);
}

} // namespace dh1
