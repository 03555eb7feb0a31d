#include "document/option_editor.h"

namespace dh1 {

namespace {

// Without a window nobody can change the options.
class CDecliningOptionEditor final : public IOptionEditor {
public:
    bool EditIrCommOptions(CIrCommOptions&) override { return false; }
    bool EditDebugOptions(CDebugOptions&) override { return false; }
};

} // namespace

IOptionEditor::~IOptionEditor() = default;

std::unique_ptr<IOptionEditor> CreateOptionEditor()
{
    return OptionEditorFactories::Create([] { return std::make_unique<CDecliningOptionEditor>(); });
}

} // namespace dh1
