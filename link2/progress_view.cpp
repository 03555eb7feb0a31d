#include "link2/progress_view.h"

#include "link2/work_progress_dlg.h"

namespace dh2 {

namespace {

std::unique_ptr<IProgressView> CreateProgressDialog()
{
    auto dialog = std::make_unique<CWorkProgressDlg>();
    dialog->PlayAnimation();
    dialog->show();
    return dialog;
}

ProgressViewFactory& InstalledFactory()
{
    static ProgressViewFactory factory;
    return factory;
}

} // namespace

IProgressView::~IProgressView() = default;

void SetProgressViewFactory(ProgressViewFactory factory)
{
    InstalledFactory() = std::move(factory);
}

std::unique_ptr<IProgressView> CreateProgressView()
{
    const ProgressViewFactory& factory = InstalledFactory();
    return factory ? factory() : CreateProgressDialog();
}

ScopedProgressViewFactory::ScopedProgressViewFactory(ProgressViewFactory factory)
    : m_previous(InstalledFactory())
{
    SetProgressViewFactory(std::move(factory));
}

ScopedProgressViewFactory::~ScopedProgressViewFactory()
{
    SetProgressViewFactory(std::move(m_previous));
}

} // namespace dh2
