#pragma once

#include <QDialog>

namespace dh2 {

// "About  Zentra Deskhand": the program's icon, its name, its version and OK.
class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace dh2
