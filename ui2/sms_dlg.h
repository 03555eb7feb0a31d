#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class CPhoneNumEdit;
class QPushButton;

namespace dh2 {

// Composes a short message of Deskhand2: a number (typed, or picked with "...."), a text of up
// to 160 bytes, and "Save" or "Send" (which needs a number and sets the send flag).
class CSMSDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNumberLimit = 19;
    static constexpr int kTextLimit = 160;
    // "....": the number chosen, or nothing when the picker was cancelled.
    using NumberPicker = std::function<std::optional<QString>(QWidget* parent)>;

    explicit CSMSDlg(QWidget* parent = nullptr);

    void SetNumberPicker(NumberPicker picker) { m_pickNumber = std::move(picker); }

    // The fields shown when the dialog opens.
    void SetFields(const QString& number, const QString& text);

    // After OK: what was confirmed.
    QString m_strNumber;
    QString m_strText;
    bool m_bSend = false;

    CPhoneNumEdit* NumberEdit() const { return m_pNumber; }
    CPhoneNumEdit* TextEdit() const { return m_pText; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* SendButton() const { return m_pSend; }

public Q_SLOTS:
    // Save and OK close only with a text.
    void accept() override;
    void OnSave() { accept(); }
    // With a number: the send flag, then as Save. Without one nothing happens.
    void OnSend();
    void OnPickNumber();
    void OnChangeNumber();

private:
    NumberPicker m_pickNumber;
    CPhoneNumEdit* m_pNumber;
    CPhoneNumEdit* m_pText;
    QPushButton* m_pSave;
    QPushButton* m_pSend;
};

} // namespace dh2
