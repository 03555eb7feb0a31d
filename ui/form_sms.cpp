#include "ui/form_sms.h"

#include "controls/form_button.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "platform/atoi.h"
#include "platform/string_table.h"
#include "ui/resource.h"
#include "ui/sms_dlg.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

namespace dh1 {

using namespace ids;

namespace {

constexpr QSize kDesignSize(600, 420);
const QMargins kAreaGrow(5, 6, 8, 7);

QRect buttonAt(int slot)
{
    return QRect(20 + slot * 56, 32, 52, 24);
}

// Row images: 2 for a message stored on the SIM, 1 in the handset.
int messageImage(const CSmsEntry& message)
{
    if (message.m_nIndex == -1)
        return -1;
    if (message.m_nList == 4)
        return 2;
    return message.m_nList == 3 ? 1 : -1;
}

} // namespace

CForm_SMS::CForm_SMS(CMVsyncDoc& doc, QWidget* parent) : CPaneFormView(kDesignSize, parent), m_doc(doc)
{
    using platform::LoadString;
    setObjectName(QStringLiteral("CForm_SMS"));
    SetFormColor(kPaneColor);

    auto* frame = new QGroupBox(LoadString(63034));
    frame->setObjectName(QStringLiteral("mobileCaption"));
    frame->setAccessibleName(frame->title());
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    AddDlgItem(IDC_SMS_FRAME, frame, QRect(12, 8, 576, 404));
    for (const auto& [id, text, name, slot] : {std::tuple{IDC_SMS_NEW, 61493, QStringLiteral("smsNew"), 0},
                                               std::tuple{IDC_SMS_SEND, 64185, QStringLiteral("smsSend"), 1},
                                               std::tuple{IDC_SMS_READ, 64106, QStringLiteral("smsRead"), 2},
                                               std::tuple{IDC_SMS_DELETE, 64105, QStringLiteral("smsDelete"), 3}}) {
        auto* button = new CFormButton;
        button->SetText(LoadString(text));
        button->setObjectName(name);
        button->setAccessibleName(LoadString(text));
        AddDlgItem(id, button, buttonAt(slot));
    }
    auto* selectAll = new QCheckBox(LoadString(64107));
    selectAll->setObjectName(QStringLiteral("selectAll"));
    selectAll->setAccessibleName(selectAll->text());
    AddDlgItem(IDC_SMS_SELECT_ALL, selectAll, QRect(20, 64, 90, 20));
    auto* status = new QLabel;
    status->setObjectName(QStringLiteral("status"));
    AddDlgItem(IDC_SMS_STATUS, status, QRect(116, 64, 200, 20));
    auto* detail = new CDetailListCtrl;
    detail->setObjectName(QStringLiteral("detail"));
    detail->setAccessibleName(LoadString(64186));
    AddDlgItem(IDC_SMS_DETAIL, detail, QRect(20, 96, 560, 166));
    auto* label = new QLabel(LoadString(64186));
    label->setObjectName(QStringLiteral("messageLabel"));
    AddDlgItem(IDC_SMS_LABEL, label, QRect(20, 270, 200, 18));
    auto* list = new CRecordListCtrl;
    list->setObjectName(QStringLiteral("messageList"));
    list->setAccessibleName(LoadString(64186));
    AddDlgItem(IDC_PHONE_LIST, list, QRect(20, 296, 560, 108));
    AddShadow(IDC_SMS_DETAIL, kAreaGrow, kPaneColor);
    AddShadow(IDC_PHONE_LIST, kAreaGrow, kPaneColor);

    connect(Button(IDC_SMS_NEW), &QPushButton::clicked, this, &CForm_SMS::OnNew);
    connect(Button(IDC_SMS_SEND), &QPushButton::clicked, this, &CForm_SMS::OnSend);
    connect(Button(IDC_SMS_READ), &QPushButton::clicked, this, &CForm_SMS::OnRead);
    connect(Button(IDC_SMS_DELETE), &QPushButton::clicked, this, &CForm_SMS::OnDelete);
    // Every change of the box counts, as the keyboard and assistive tools make it too.
    connect(selectAll, &QCheckBox::toggled, this, &CForm_SMS::OnSelectAll);
    connect(list, &CRecordListCtrl::listClicked, this, &CForm_SMS::OnClickList);
    connect(list, &CRecordListCtrl::listDoubleClicked, this, &CForm_SMS::OnDblClkList);
    // Rows never outlive their records.
    connect(&m_doc, &CMVsyncDoc::changed, this, [this] {
        if (IsInitialized())
            Refill();
    });
}

CForm_SMS::~CForm_SMS() = default;

void CForm_SMS::OnInitialUpdate()
{
    AnchorControl(IDC_PHONE_LIST, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    AnchorControl(IDC_SMS_FRAME, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    AnchorControl(IDC_SMS_DETAIL, ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    CPaneFormView::OnInitialUpdate();
    QString columns;
    m_doc.GetColumnFormat(columns, CMVsyncDoc::ColumnsMessages);
    List()->SetColumns(columns, true);
    Button(IDC_SMS_NEW)->setEnabled(false);
    Button(IDC_SMS_DELETE)->setEnabled(false);
    Detail()->SetUp(QStringLiteral(":/images/detail_list.bmp"), kDetailColor, 100, 1000);
    ShowMessageInfo(nullptr);
}

CFormButton* CForm_SMS::Button(int id) const
{
    return qobject_cast<CFormButton*>(GetDlgItem(id));
}

CRecordListCtrl* CForm_SMS::List() const
{
    return qobject_cast<CRecordListCtrl*>(GetDlgItem(IDC_PHONE_LIST));
}

CDetailListCtrl* CForm_SMS::Detail() const
{
    return qobject_cast<CDetailListCtrl*>(GetDlgItem(IDC_SMS_DETAIL));
}

QCheckBox* CForm_SMS::SelectAll() const
{
    return qobject_cast<QCheckBox*>(GetDlgItem(IDC_SMS_SELECT_ALL));
}

QLabel* CForm_SMS::Status() const
{
    return qobject_cast<QLabel*>(GetDlgItem(IDC_SMS_STATUS));
}

int CForm_SMS::RunModal(QDialog& dialog) const
{
    return m_runModal ? m_runModal(dialog) : dialog.exec();
}

void CForm_SMS::AddMessageRow(const CSmsEntry& message)
{
    QStringList cells;
    m_doc.MessageToRow(message, cells);
    const int row = List()->AddRow(cells, messageImage(message));
    List()->SetItemData(row, CMVsyncDoc::RecordId(&message));
}

void CForm_SMS::Refill()
{
    List()->DeleteAllItems();
    for (const auto& message : m_doc.m_messages) {
        if (!message->IsDeleted())
            AddMessageRow(*message);
    }
    {
        const QSignalBlocker quiet(SelectAll());
        SelectAll()->setChecked(false);
    }
    // New messages are stored where the phone writes them: the SIM storage.
    const CMVsyncDoc::PhoneCapacities capacities = CMVsyncDoc::Capacities();
    Button(IDC_SMS_NEW)->setEnabled(capacities.m_nSmsSimTotal >= capacities.m_nSmsSimUsed);
    Button(IDC_SMS_DELETE)->setEnabled(true);
    ShowMessageInfo(nullptr);
}

void CForm_SMS::OnRead()
{
    Status()->setText(platform::LoadString(64190));
    bool ok = false;
    {
        const auto busy = m_doc.MarkBusy();
        ok = m_doc.ReadMessages();
    }
    if (!ok)
        CMVsyncDoc::ShowError(62000);
    m_bReadDone = ok;
    Refill();
    Status()->setText(platform::LoadString(64191));
}

void CForm_SMS::OnNew()
{
    if (!m_bReadDone)
        return;
    CSMSDlg dialog(m_doc, {}, this);
    dialog.SetModalRunner(m_runModal);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    CSmsEntry message;
    message.m_strNumber = dialog.m_strNumber;
    message.m_strText = dialog.m_strText;
    message.m_nReserved = platform::Atoi(dialog.m_strReference);
    CSmsEntry* stored = m_doc.AddOutgoingMessage(message);
    bool ok = false;
    {
        const auto busy = m_doc.MarkBusy();
        ok = m_doc.m_session.SendSms(*stored, dialog.m_nSend != 0, true);
    }
    if (ok) {
        AddMessageRow(*stored);
        return;
    }
    CMVsyncDoc::ShowError(62002);
    stored->m_nState = CSyncRecord::StateDeleted;
}

void CForm_SMS::OnDelete()
{
    Status()->setText(platform::LoadString(64192));
    std::vector<quintptr> checked;
    for (int row = 0; row < List()->GetItemCount(); ++row) {
        if (List()->GetCheck(row))
            checked.push_back(List()->GetItemData(row));
    }
    if (checked.empty())
        return;
    const auto busy = m_doc.MarkBusy();
    if (!m_doc.ConnectForMessages()) {
        Status()->setText(platform::LoadString(64191));
        return;
    }
    for (const quintptr id : checked) {
        CSmsEntry* message = m_doc.FindMessage(id);
        if (!message)
            continue;
        // The first failure ends the deletions, as on the other pages.
        if (!m_doc.DeleteMessage(*message)) {
            m_doc.ShowPhoneError(62001);
            break;
        }
    }
    Refill();
    m_doc.Disconnect();
    Status()->setText(platform::LoadString(64191));
}

void CForm_SMS::OnSend()
{
    // Sending a stored message is not available: the command finds its row and stops.
    [[maybe_unused]] const CSmsEntry* message = m_doc.FindMessage(List()->GetItemData(List()->GetSelectedIndex()));
}

void CForm_SMS::OnSelectAll()
{
    const bool checked = SelectAll()->isChecked();
    for (int row = 0; row < List()->GetItemCount(); ++row)
        List()->SetCheck(row, checked);
    List()->setFocus();
}

void CForm_SMS::OnClickList()
{
    const int row = List()->indexOfTopLevelItem(List()->currentItem());
    ShowMessageInfo(row < 0 ? nullptr : m_doc.FindMessage(List()->GetItemData(row)));
}

void CForm_SMS::OnDblClkList()
{
    if (List()->GetSelectedIndex() < 0)
        OnNew();
    else
        OnSend();
}

void CForm_SMS::ShowMessageInfo(const CSmsEntry* message)
{
    using platform::LoadString;
    std::vector<CDetailListCtrl::Row> rows{{9, LoadString(64187), {}}, {1, LoadString(64188), {}},
                                           {7, LoadString(64189), {}}, {6, LoadString(64186), {}}};
    while (rows.size() < size_t(kDetailRows))
        rows.push_back({6, {}, {}});
    if (message) {
        rows[0].value = CMVsyncDoc::MessageStatusText(message->m_nStatus);
        rows[1].value = message->m_strNumber;
        rows[2].value = message->m_strDateTime;
        // The text line by line from the fourth row on, as far as the rows go.
        size_t row = 3;
        for (QString line : message->m_strText.split(u'\r')) {
            if (row >= rows.size())
                break;
            line.remove(u'\n');
            rows[row++].value = line;
        }
    }
    Detail()->SetRows(rows);
}

} // namespace dh1
