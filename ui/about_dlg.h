#pragma once

#include <QDialog>

namespace dh1 {

// "About Zentra Deskhand": the program's icon, its name, the year, the version and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace dh1
