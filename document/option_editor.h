#pragma once

#include "common/installed_factory.h"

#include <QString>

#include <memory>

namespace dh1 {

// The infrared options as their dialog's edits hold them.
struct CIrCommOptions {
    QString m_strPort;
    QString m_strTimeout;
    bool m_bEnable = false;
};

// The link's pauses, block size, baud rate and timeout as the debug options' edits hold them.
struct CDebugOptions {
    QString m_strOpenPause;
    QString m_strWritePause = QStringLiteral("100");
    QString m_strBaud;
    bool m_bEnable = false;
    QString m_strCommandPause = QStringLiteral("100");
    bool m_bTrace = false;
    QString m_strReadBlock = QStringLiteral("20");
    QString m_strTimeout;
};

// Where the option commands let the user change their values: the program's option dialogs, a
// test's script. False when the user cancels; the values then count for nothing.
class IOptionEditor {
public:
    virtual ~IOptionEditor();
    virtual bool EditIrCommOptions(CIrCommOptions& options) = 0;
    virtual bool EditDebugOptions(CDebugOptions& options) = 0;
};

// The program installs its dialogs (the main window does, for its lifetime).
using OptionEditorFactories = common::InstalledFactory<IOptionEditor>;
using ScopedOptionEditor = OptionEditorFactories::Scoped;

// Made by the installed factory; without one, an editor that declines every change.
std::unique_ptr<IOptionEditor> CreateOptionEditor();

} // namespace dh1
