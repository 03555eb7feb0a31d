#pragma once

#include "common/installed_factory.h"

#include <QString>

#include <memory>

namespace dh2 {

// What a phone operation shows while it runs: one line of status. The program shows the
// progress dialog; a command-line tool prints the lines; tests record them. The session creates
// one per operation through the installed factory.
class IProgressView {
public:
    virtual ~IProgressView();
    virtual void SetText(const QString& text) = 0;
};

using ProgressViewFactory = common::InstalledFactory<IProgressView>::Factory;

// Installs the factory CreateProgressView uses; an empty one restores the default, which makes
// the progress dialog with its animation playing and shows it.
void SetProgressViewFactory(ProgressViewFactory factory);
std::unique_ptr<IProgressView> CreateProgressView();

// Installs a factory for the lifetime of the guard.
using ScopedProgressViewFactory = common::InstalledFactory<IProgressView>::Scoped;

} // namespace dh2
