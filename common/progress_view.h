#pragma once

#include "common/installed_factory.h"

#include <QString>

#include <memory>

namespace common {

// The two looks of a progress window: a phone transfer's and any other operation's.
enum class ProgressLook { Phone, Other };

// Where a bar of steps ends unless an operation sets it otherwise.
constexpr int kDefaultProgressRange = 10;

// What an operation tells the progress view it makes.
struct ProgressRequest {
    // Set by the view's stop button (Abort, Cancel); the operation reads it between its steps.
    bool* stopFlag = nullptr;
    // The end of a bar of steps, read at every step and set back to kDefaultProgressRange when
    // the operation finishes; null where the operations count no steps.
    int* stepRange = nullptr;
    ProgressLook look = ProgressLook::Phone;
};

// What a phone or PIM operation shows while it runs: one text per step and, at its end, a
// closing run. The program installs its progress window (from the window side, for the main
// window's lifetime); a command-line tool prints the texts; tests record them. The sessions and
// exchanges make one per operation through the installed factory.
class IProgressView {
public:
    virtual ~IProgressView();
    virtual void Step(const QString& text) = 0;
    virtual void Finish() {}
};

using ProgressViewFactories = InstalledFactory<IProgressView, const ProgressRequest&>;
using ProgressViewFactory = ProgressViewFactories::Factory;
// Installs a factory for the lifetime of the guard.
using ScopedProgressViewFactory = ProgressViewFactories::Scoped;

// Made by the installed factory; without one, a view that shows nothing.
std::unique_ptr<IProgressView> CreateProgressView(const ProgressRequest& request);

} // namespace common
