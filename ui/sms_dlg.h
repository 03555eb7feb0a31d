#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class CLimitedTextEdit;
class CPhoneNumEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dh1 {

class CMVsyncDoc;

// Composes a short message: the number (typed, or picked from the PC phonebook and the PIM
// contacts with "...."), the text and a message reference of 0 to 255. "Save" confirms,
// "Send" confirms with the send flag set once a number is there.
class CSMSDlg : public QDialog {
    Q_OBJECT

public:
    using ModalRunner = std::function<int(QDialog&)>;
    static constexpr int kNumberLimit = 20;

    // A text given here is only sent: it cannot be changed or saved.
    explicit CSMSDlg(const CMVsyncDoc& doc, const QString& text = {}, QWidget* parent = nullptr);

    // The number picker runs through this; the default runs it modally.
    void SetModalRunner(ModalRunner runner) { m_runModal = std::move(runner); }

    QString m_strNumber;
    QString m_strText;
    QString m_strReference = QStringLiteral("0");
    int m_nSend = 0;

    CPhoneNumEdit* NumberEdit() const { return m_pNumber; }
    CLimitedTextEdit* TextEdit() const { return m_pText; }
    QLineEdit* ReferenceEdit() const { return m_pReference; }
    QLabel* LengthLabel() const { return m_pLength; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* SendButton() const { return m_pSend; }

public Q_SLOTS:
    // Needs a text and a reference of 0 to 255 (else "Invalid message reference").
    void accept() override;
    void OnSave() { accept(); }
    void OnSend();
    void OnPickNumber();
    void OnChangeText();
    void OnChangeNumber();

private:
    const CMVsyncDoc& m_doc;
    ModalRunner m_runModal;
    CPhoneNumEdit* m_pNumber;
    CLimitedTextEdit* m_pText;
    QLineEdit* m_pReference;
    QLabel* m_pLength;
    QPushButton* m_pSave;
    QPushButton* m_pSend;
};

} // namespace dh1
