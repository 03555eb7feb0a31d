#pragma once

#include "document/option_editor.h"

#include <functional>

class QDialog;

namespace dh1 {

// The option commands' dialogs: the values go in, the user edits them, and OK hands them back.
// The dialogs run through the runner (tests script them), else modally.
class COptionDialogs final : public IOptionEditor {
public:
    using ModalRunner = std::function<int(QDialog&)>;

    explicit COptionDialogs(ModalRunner runModal = {}) : m_runModal(std::move(runModal)) {}
    // What the main window installs: the dialogs, run through runModal.
    static OptionEditorFactories::Factory Factory(ModalRunner runModal = {});

    bool EditIrCommOptions(CIrCommOptions& options) override;
    bool EditDebugOptions(CDebugOptions& options) override;

private:
    ModalRunner m_runModal;
};

} // namespace dh1
