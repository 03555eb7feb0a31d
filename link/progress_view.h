#pragma once

#include "common/installed_factory.h"

#include <QString>

#include <memory>

// What a phone or PIM operation shows while it runs: one text per step and a closing run.
// The program shows the progress dialog; a command-line tool prints the texts; tests record
// them. The session and the exchanges create one per operation through the installed factory.
class IProgressView {
public:
    virtual ~IProgressView();
    virtual void Step(const QString& text) = 0;
    virtual void Finish() = 0;
};

using ProgressViewFactory = common::InstalledFactory<IProgressView>::Factory;

// Installs the factory that CreateProgressView uses; an empty one restores the default, which
// creates a shown progress dialog.
void SetProgressViewFactory(ProgressViewFactory factory);
std::unique_ptr<IProgressView> CreateProgressView();

// Installs a factory for the lifetime of the guard.
using ScopedProgressViewFactory = common::InstalledFactory<IProgressView>::Scoped;
