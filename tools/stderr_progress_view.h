#pragma once

#include "common/progress_view.h"

#include <cstdio>

// Progress for a command-line tool: every step's text as a line on a stream (stderr).
class CStderrProgressView final : public common::IProgressView {
public:
    explicit CStderrProgressView(std::FILE* stream = stderr) : m_stream(stream) {}
    void Step(const QString& text) override;

private:
    std::FILE* m_stream;
};
