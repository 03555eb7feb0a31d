#pragma once

#include <QStringList>

class QDialog;
class QIcon;
class QWidget;

// The layout of the programs' About boxes: the icon at the top left, the lines of text beside
// it, the buttons at the top right; the box keeps its natural size, widened where its title
// (set before) needs more room. Every text is its accessible name.
void LayOutAboutBox(QDialog& dialog, const QIcon& icon, const QString& iconName, const QStringList& lines,
                    QWidget* buttons);
