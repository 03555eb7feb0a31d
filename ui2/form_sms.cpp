#include "ui2/form_sms.h"

#include "controls/form_button.h"
#include "controls/record_list_ctrl.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui2/organizer_resource.h"
#include "ui2/phonebook_list_dlg.h"
#include "ui2/resource.h"
#include "ui2/sms_dlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace dh2 {

using namespace ids;
using namespace panelayout;

namespace {

const QString kPane = QStringLiteral("Mobile pane");
constexpr int kPaneWidth = 740;
constexpr int kDetailHeight = 110;

int rowKind(const CSmsEntry& record)
{
    return record.m_nIndex >= 0 ? 1 : 0;
}

void infoBox(int stringId)
{
    platform::AfxMessageBox(platform::LoadString(stringId), platform::MB_ICONINFORMATION);
}

// The box of a store, send or delete that failed: what may have happened when the phone's
// answer never came, else the failure's own text.
void failureBox(const CMVsyncDoc& doc, int unconfirmedId, int failedId)
{
    infoBox(doc.PhoneOutcomeUnconfirmed() ? unconfirmedId : failedId);
}

bool ask(int stringId)
{
    return platform::AfxMessageBox(platform::LoadString(stringId), platform::MB_YESNO | platform::MB_ICONQUESTION)
           == platform::IDYES;
}

// A fresh unsent message with that text and number.
CSmsEntry composed(const QString& text, const QString& number)
{
    CSmsEntry message;
    message.m_nStatus = CSmsEntry::StatusUnsent;
    message.m_strText = text;
    message.m_strNumber = number;
    return message;
}

} // namespace

CForm_SMS::CForm_SMS(CMVsyncDoc& doc, QWidget* parent) : CDataPaneForm(kDesignSize, parent), m_doc(doc)
{
    setObjectName(QStringLiteral("CForm_SMS"));
    SetFormColor(kFormColor);
    AddPaneCaption(IDC_MOBILE_CAPTION, platform::LoadString(IDS_MOBILE), QStringLiteral("mobileCaption"),
                   QRect(12, 8, 756, 434));
    AddFormButton(IDC_MOBILE_READ, QStringLiteral("Read"), QStringLiteral("read"), kPane, ButtonAt(kPcLeft, 0));
    AddFormButton(IDC_SMS_NEW, QStringLiteral("New"), QStringLiteral("new"), kPane, ButtonAt(kPcLeft, 1));
    AddFormButton(IDC_SMS_EDIT, QStringLiteral("Edit"), QStringLiteral("edit"), kPane, ButtonAt(kPcLeft, 2));
    AddFormButton(IDC_MOBILE_DELETE, QStringLiteral("Delete"), QStringLiteral("delete"), kPane, ButtonAt(kPcLeft, 3));
    AddCheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL, QStringLiteral("Select All"), QStringLiteral("selectAll"), kPane,
                QRect(kPcLeft, kSelectRow + 2, 90, 20));
    auto* label = new QLabel(QStringLiteral("Message"));
    NameControl(label, QStringLiteral("messageLabel"), label->text(), kPane);
    AddDlgItem(IDC_SMS_LABEL, label, QRect(kPcLeft + 96, kSelectRow + 2, 70, 20));
    auto* status = new QLabel;
    NameControl(status, QStringLiteral("status"), QString(), kPane);
    AddDlgItem(IDC_INFO, status, QRect(kPcLeft + 170, kSelectRow + 2, 300, 20));
    auto* total = new QLabel(QStringLiteral("Total :"));
    NameControl(total, QStringLiteral("total"), total->text(), kPane);
    AddDlgItem(IDC_TOTAL, total, QRect(kPcLeft + kPaneWidth - 110, kSelectRow + 2, 110, 20));
    auto* detail = new CDetailListCtrl;
    NameControl(detail, QStringLiteral("detail"), QStringLiteral("Message details"), kPane);
    AddDlgItem(IDC_PC_DETAIL, detail, QRect(kPcLeft, kDetailTop, kPaneWidth, kDetailHeight));
    AddShadow(IDC_PC_DETAIL, kDetailShadow);
    CRecordListCtrl* list = AddRecordList(IDC_PHONE_LIST, QStringLiteral("messageList"), ListRect(kPcLeft, kPaneWidth, kDetailHeight));
    list->setAccessibleName(platform::LoadString(IDS_SMS));
    list->SetKindImages({6, 4, 5});
    AddShadow(IDC_PHONE_LIST, kMobileListShadow);

    connect(FormButton(IDC_MOBILE_READ), &QPushButton::clicked, this, &CForm_SMS::OnRead);
    connect(FormButton(IDC_SMS_NEW), &QPushButton::clicked, this, &CForm_SMS::OnNew);
    connect(FormButton(IDC_SMS_EDIT), &QPushButton::clicked, this, &CForm_SMS::OnEditMessage);
    connect(FormButton(IDC_MOBILE_DELETE), &QPushButton::clicked, this, &CForm_SMS::OnDelete);
    // Every change of the box counts, as the keyboard and assistive tools make it too.
    connect(CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL), &QCheckBox::toggled, this, &CForm_SMS::OnSelectAll);
    connect(list, &CRecordListCtrl::listClicked, this, &CForm_SMS::OnClickList);
    connect(list, &CRecordListCtrl::listDoubleClicked, this, &CForm_SMS::OnDblClkList);
    connect(list, &CRecordListCtrl::checkChanged, this, &CForm_SMS::OnCheckChanged);
    // Rows never outlive their records.
    connect(&m_doc, &CMVsyncDoc::changed, this, [this] {
        if (IsInitialized())
            RefreshList();
    });
}

CForm_SMS::~CForm_SMS() = default;

void CForm_SMS::OnInitialUpdate()
{
    AnchorControl(IDC_MOBILE_CAPTION, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    AnchorControl(IDC_PC_DETAIL, ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    AnchorControl(IDC_PHONE_LIST, ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    AnchorControl(IDC_TOTAL, ANCHOR_TOPRIGHT, ANCHOR_NONE);
    CDataPaneForm::OnInitialUpdate();
    QString columns;
    m_doc.GetColumnFormat(CMVsyncDoc::ColumnsMessages, columns);
    RecordList(IDC_PHONE_LIST)->SetColumns(columns, true);
    for (const int id : {int(IDC_ORGANIZER_MOBILE_SELECT_ALL), int(IDC_MOBILE_DELETE), int(IDC_SMS_EDIT)})
        EnableControl(id, false);
    DetailList(IDC_PC_DETAIL)->SetUp(QStringLiteral(":/images/detail_list.bmp"), 0xE0FFFF, 100, 1000);
    RefreshList();
}

void CForm_SMS::SetStatusText(const QString& text)
{
    Static(IDC_INFO)->setText(text);
    Static(IDC_INFO)->setAccessibleName(text);
}

void CForm_SMS::RefreshList()
{
    CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    if (!list || !IsInitialized())
        return;
    list->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(list);
        list->DeleteAllItems();
        QStringList cells;
        for (const auto& record : m_doc.m_arMessages) {
            if (record->IsDeleted())
                continue;
            m_doc.MessageToRow(*record, cells);
            const int row = list->AddRow(cells, rowKind(*record));
            list->SetItemData(row, CMVsyncDoc::RecordId(record.get()));
        }
    }
    list->setUpdatesEnabled(true);
    SetCheck(CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL), false);
    if (list->GetItemCount() > 0) {
        EnableControl(IDC_SMS_NEW, true);
        EnableControl(IDC_ORGANIZER_MOBILE_SELECT_ALL, true);
        EnableControl(IDC_MOBILE_DELETE, m_doc.m_bMessagesRead);
    }
    SetStatusText(QString());
    OnCheckChanged();
    ShowEntryInfo(nullptr);
}

void CForm_SMS::OnCheckChanged()
{
    const CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    bool all = true;
    bool any = false;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        all = all && list->GetCheck(row);
        any = any || list->GetCheck(row);
    }
    SetCheck(CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL), all);
    EnableControl(IDC_MOBILE_DELETE, any);
    QLabel* total = Static(IDC_TOTAL);
    total->setText(platform::LoadString(IDS_TOTAL).replace(QStringLiteral("%d"), QString::number(list->GetItemCount())));
    total->setAccessibleName(total->text());
}

void CForm_SMS::OnSelectAll()
{
    CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    // Tells OnCheckChanged once, and keeps the list's record of what each row showed.
    list->SetCheckAll(CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL)->isChecked());
    list->setFocus();
}

CSmsEntry* CForm_SMS::FocusedMessage() const
{
    const CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    const int row = list->GetSelectedIndex();
    return row < 0 ? nullptr : m_doc.FindMessage(list->GetItemData(row));
}

void CForm_SMS::OnClickList()
{
    const CSmsEntry* message = FocusedMessage();
    EnableControl(IDC_SMS_EDIT, message != nullptr);
    if (message)
        ShowEntryInfo(message);
}

void CForm_SMS::OnDblClkList()
{
    if (RecordList(IDC_PHONE_LIST)->GetSelectedIndex() >= 0)
        OnEditMessage();
    else
        OnNew();
}

void CForm_SMS::OnRead()
{
    SetStatusText(platform::LoadString(IDS_READING));
    if (!m_doc.ReadMessages()) {
        SetStatusText(QString());
        infoBox(IDS_READ_FAILED);
    }
    RefreshList();
}

bool CForm_SMS::RunMessageDialog(CSMSDlg& dialog, const QString& number, const QString& text)
{
    dialog.SetFields(number, text);
    // "....": a number of the document's contacts.
    dialog.SetNumberPicker([this](QWidget* parent) -> std::optional<QString> {
        CPhonebookListDlg pick(m_doc, parent);
        if (RunModal(pick) != QDialog::Accepted)
            return std::nullopt;
        return pick.GetNumber();
    });
    return RunModal(dialog) == QDialog::Accepted;
}

bool CForm_SMS::SendIfStored(CSmsEntry& message)
{
    // A message the phone has not stored has no index to send from.
    if (message.m_nIndex < 0) {
        infoBox(IDS_SEND_FAILED);
        return false;
    }
    // A send the phone did not confirm is not marked sent: the box says to look before again.
    if (!m_doc.SendStoredMessage(message)) {
        failureBox(m_doc, IDS_SEND_UNCONFIRMED, IDS_SEND_FAILED);
        return false;
    }
    message.m_nStatus = CSmsEntry::StatusSent;
    return true;
}

quintptr CForm_SMS::AddMessageRow(const CSmsEntry& record)
{
    const quintptr id = CMVsyncDoc::RecordId(m_doc.AddOutgoingMessage(record));
    RefreshList();
    SelectRecord(id);
    return id;
}

void CForm_SMS::SelectRecord(quintptr id)
{
    CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemData(row) == id) {
            list->clearSelection();
            list->SetSelected(row, true);
            ScrollToRecord(*list, id);
            return;
        }
    }
}

void CForm_SMS::OnNew()
{
    CSMSDlg dialog(this);
    if (!RunMessageDialog(dialog, {}, {}))
        return;
    EnableControl(IDC_ORGANIZER_MOBILE_SELECT_ALL, true);
    CSmsEntry fresh = composed(dialog.m_strText, QString());
    if (ask(IDS_STORE_QUESTION) && !m_doc.StoreMessage(fresh))
        failureBox(m_doc, IDS_STORE_UNCONFIRMED, IDS_WRITE_FAILED);
    const quintptr id = AddMessageRow(fresh);
    if (dialog.m_bSend) {
        if (CSmsEntry* copy = m_doc.FindMessage(id)) {
            copy->m_strNumber = dialog.m_strNumber;
            SendIfStored(*copy);
        }
    }
    RefreshList();
    SelectRecord(id);
}

void CForm_SMS::OnEditMessage()
{
    const CSmsEntry* focused = FocusedMessage();
    if (!focused)
        return;
    const quintptr id = CMVsyncDoc::RecordId(focused);
    CSMSDlg dialog(this);
    if (!RunMessageDialog(dialog, focused->m_strNumber, focused->m_strText))
        return;
    // The message may have gone while the dialog was open.
    CSmsEntry* message = m_doc.FindMessage(id);
    if (!message)
        return;
    if (dialog.m_bSend && dialog.m_strText != message->m_strText) {
        CSmsEntry fresh = composed(dialog.m_strText, QString());
        if (!m_doc.StoreMessage(fresh)) {
            failureBox(m_doc, IDS_STORE_UNCONFIRMED, IDS_SAVE_FAILED);
            return;
        }
        const quintptr copyId = AddMessageRow(fresh);
        if (CSmsEntry* copy = m_doc.FindMessage(copyId)) {
            copy->m_strNumber = dialog.m_strNumber;
            SendIfStored(*copy);
        }
        RefreshList();
        SelectRecord(copyId);
        return;
    }
    if (dialog.m_bSend) {
        message->m_strNumber = dialog.m_strNumber;
        SendIfStored(*message);
        RefreshList();
        SelectRecord(id);
        return;
    }
    if (ask(IDS_STORE_QUESTION)) {
        CSmsEntry fresh = composed(dialog.m_strText, dialog.m_strNumber);
        if (!m_doc.StoreMessage(fresh)) {
            failureBox(m_doc, IDS_STORE_UNCONFIRMED, IDS_SAVE_FAILED);
            return;
        }
        if (CSmsEntry* again = m_doc.FindMessage(id); again && again->m_nIndex < 0) {
            again->m_strText = dialog.m_strText;
            again->m_nIndex = fresh.m_nIndex;
        } else {
            AddMessageRow(fresh);
        }
    } else if (CSmsEntry* again = m_doc.FindMessage(id)) {
        again->m_strText = dialog.m_strText;
    }
    RefreshList();
}

void CForm_SMS::OnDelete()
{
    if (CheckBox(IDC_ORGANIZER_MOBILE_SELECT_ALL)->isChecked() && !ask(IDS_DELETE_QUESTION))
        return;
    SetStatusText(platform::LoadString(IDS_DELETING));
    // Every record is resolved before the first deletion: a message deleted on the phone is
    // gone from the list, the others stay where they are.
    std::vector<CSmsEntry*> checked;
    const CRecordListCtrl* list = RecordList(IDC_PHONE_LIST);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (!list->GetCheck(row))
            continue;
        if (CSmsEntry* message = m_doc.FindMessage(list->GetItemData(row)))
            checked.push_back(message);
    }
    if (checked.empty()) {
        SetStatusText(QString());
        return;
    }
    const bool anyStored = std::any_of(checked.begin(), checked.end(), [](const CSmsEntry* m) { return m->m_nIndex >= 0; });
    bool onPhone = false;
    if (anyStored && ask(IDS_DELETE_ON_PHONE_QUESTION)) {
        if (!m_doc.ConnectForMessages()) {
            SetStatusText(QString());
            platform::AfxMessageBox(platform::LoadString(IDS_CONNECT_FAILED), platform::MB_OK);
            return;
        }
        onPhone = true;
    }
    {
        const auto busy = m_doc.MarkBusy();
        const QSignalBlocker quiet(&m_doc);
        for (CSmsEntry* message : checked) {
            const int index = message->m_nIndex;
            message->m_nState = CSyncRecord::StateDeleted;
            if (!onPhone || index < 0)
                continue;
            if (!m_doc.DeleteMessage(*message)) {
                // The message stays, without an index when the phone may have deleted it.
                if (m_doc.PhoneOutcomeUnconfirmed())
                    platform::AfxMessageBox(platform::LoadString(IDS_DELETE_UNCONFIRMED).arg(index), platform::MB_ICONINFORMATION);
                else
                    platform::AfxMessageBox(QString::asprintf("Failed delete index-%d\n", index), platform::MB_OK);
                message->m_nState = CSyncRecord::StateUnchanged;
            }
        }
        if (onPhone)
            m_doc.Disconnect();
    }
    m_doc.NotifyChanged();
    RefreshList();
    EnableControl(IDC_MOBILE_DELETE, false);
}

void CForm_SMS::ShowEntryInfo(const CSmsEntry* record)
{
    const auto label = [](int id) { return platform::LoadString(id); };
    std::vector<CDetailListCtrl::Row> rows{{9, label(IDS_STATUS), {}},
                                           {1, label(IDS_NUMBER), {}},
                                           {7, label(IDS_DATE), {}},
                                           {6, label(IDS_SUBJECT), {}}};
    if (record) {
        rows[0].value = CMVsyncDoc::StatusText(record->m_nStatus);
        rows[1].value = record->m_strNumber;
        rows[2].value = record->m_strDate + u' ' + record->m_strTime;
        const QStringList lines = QString(record->m_strText).remove(u'\n').split(u'\r');
        rows[3].value = lines.value(0);
        for (qsizetype i = 1; i < lines.size(); ++i)
            rows.push_back({12, QString(), lines[i]});
    }
    DetailList(IDC_PC_DETAIL)->SetRows(rows);
}

void CForm_SMS::OnFilePrint()
{
    PrintList(RecordList(IDC_PHONE_LIST), platform::LoadString(IDS_SMS), platform::LoadString(IDS_FOOTER));
}

} // namespace dh2
