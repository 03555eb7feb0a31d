#include "docshared/document_base.h"

#include "docshared/csv_file.h"
#include "platform/archive.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

namespace docshared {

CDocumentBase::CDocumentBase(Files files, QObject* parent)
    : QObject(parent), m_files(std::move(files)), m_pimBaseline(m_files.baselineFile)
{
}

CDocumentBase::~CDocumentBase() = default;

void CDocumentBase::SetDataDir(const QString& dir)
{
    m_strDataDir = FolderPath(dir);
}

void CDocumentBase::OnCloseDocument()
{
    SaveLocalData();
}

bool CDocumentBase::CanCloseFrame()
{
    SaveFailures failures;
    return SaveLocalData(&failures) || QuitWithoutSaving(m_files.quitUnsavedText, failures);
}

void CDocumentBase::OnFileSave()
{
    SaveFailures failures;
    if (SaveLocalData(&failures))
        platform::AfxMessageBox(platform::LoadString(m_files.savedText), platform::MB_ICONINFORMATION);
    else
        platform::AfxMessageBox(platform::LoadString(m_files.saveFailedText).arg(DescribeSaveFailures(failures)),
                                platform::MB_ICONWARNING);
}

void CDocumentBase::LoadLocalData()
{
    m_pimBaseline.Load(m_strDataDir);
    const QString path = m_strDataDir + m_files.dataFile;
    if (LoadAtStartUp(path, [&] { return LoadDataFile(path, nullptr); }, m_files.damagedMovedText,
                      m_files.damagedKeptText))
        m_bKeepDataFile = true;
}

bool CDocumentBase::LoadLocalData(const QString& path, QString* error)
{
    return LoadDataFile(path, error) == DataFileLoad::Loaded;
}

DataFileLoad CDocumentBase::LoadDataFile(const QString& path, QString* error)
{
    return docshared::LoadDataFile(path, [this](CArchive& ar) { return ReadLocalData(ar); }, &m_bKeepDataFile, error);
}

bool CDocumentBase::SaveLocalData(SaveFailures* failures)
{
    SaveFailures failed;
    SaveSideFiles(failed);
    const QString dataFile = m_strDataDir + m_files.dataFile;
    QString why;
    if (m_bKeepDataFile) {
        failed.push_back({dataFile, platform::LoadString(m_files.keptUnreadText)});
    } else {
        // Before the lists: PIM values newer than the lists beside them do no harm, older ones could.
        if (!m_pimBaseline.Save(m_strDataDir, &why))
            failed.push_back({m_strDataDir + m_pimBaseline.FileName(), why});
        if (!SaveLocalData(dataFile, &why))
            failed.push_back({dataFile, why});
    }
    const bool saved = failed.empty();
    if (failures)
        *failures = std::move(failed);
    return saved;
}

bool CDocumentBase::SaveLocalData(const QString& path, QString* error)
{
    CArchive ar;
    Serialize(ar);
    return SaveDataFile(path, ar.Data(), error);
}

void CDocumentBase::OnSaveAsCsv()
{
    const int tab = CurrentTab();
    if (ExportCsv(tab).isEmpty())
        return;
    const QString path = csv::AskSavePath(csv::ListFileName(tab));
    if (!path.isEmpty())
        SaveCsvFile(tab, path);
}

bool CDocumentBase::SaveCsvFile(int tab, const QString& path, QString* error)
{
    const QString text = ExportCsv(tab);
    if (text.isEmpty())
        return false;
    QString why;
    if (!csv::WriteFile(path, text, &why)) {
        platform::AfxMessageBox(platform::LoadString(m_files.csvSaveFailedText) + u'\n'
                                    + DescribeSaveFailures({{path, why}}),
                                m_files.csvSaveFailedIcon);
        if (error)
            *error = why;
        return false;
    }
    return true;
}

void CDocumentBase::OnLoadFromCsv()
{
    const QString path = csv::AskOpenPath(m_files.csvOpenName);
    if (!path.isEmpty())
        LoadCsvFile(CurrentTab(), path);
}

} // namespace docshared
