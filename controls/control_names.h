#pragma once

#include <QString>

// Names a control for tests (its object name) and for screen readers (what it shows as its
// accessible name, and the pane it belongs to, when given, as its description).
template <typename Widget>
Widget* NameControl(Widget* control, const QString& name, const QString& accessible, const QString& pane = QString())
{
    control->setObjectName(name);
    control->setAccessibleName(accessible);
    if (!pane.isEmpty())
        control->setAccessibleDescription(pane);
    return control;
}
