#include "ListExportDialog.h"

#include "ListExport.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

#include <sstream>

namespace kestrun {

namespace {

QString Text(const ExtraTextTable& texts, ExtraText entry) {
    return QString::fromStdU16String(texts.Text(entry));
}

// Writes through a temporary file in the same folder that only the commit renames into place.
bool WriteWhole(const QString& path, const std::string& bytes, QString& error) {
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size &&
        file.commit()) {
        return true;
    }
    error = file.errorString();
    return false;
}

} // namespace

SaveFileChooser FileDialogChooser() {
    return [](QWidget* parent, const QString& caption, const QStringList& filters,
              QString& chosenFilter) {
        return QFileDialog::getSaveFileName(parent, caption, QString(),
                                            filters.join(QStringLiteral(";;")), &chosenFilter);
    };
}

void ExportDeviceList(QWidget* parent, const LibraryApi& api, const DeviceList& list,
                      const ExtraTextTable& texts, const SaveFileChooser& chooseFile) {
    const QString csvFilter = Text(texts, ExtraText::ExportCsvFilter) + QStringLiteral(" (*.csv)");
    const QString jsonFilter =
        Text(texts, ExtraText::ExportJsonFilter) + QStringLiteral(" (*.json)");
    QString caption = Text(texts, ExtraText::ExportList);
    while (caption.endsWith(QLatin1Char('.'))) {
        caption.chop(1);
    }
    QString chosenFilter = csvFilter;
    const QString path = chooseFile(parent, caption, {csvFilter, jsonFilter}, chosenFilter);
    if (path.isEmpty()) {
        return;
    }
    const OutputFormat format = ExportFormatFor(
        path.toStdString(), chosenFilter == jsonFilter ? OutputFormat::Json : OutputFormat::Csv);
    std::ostringstream out;
    WriteListExport(ReadListedDevices(api, list), format, out);
    QString error;
    if (WriteWhole(path, out.str(), error)) {
        return;
    }
    QMessageBox failure(QMessageBox::Warning, parent != nullptr ? parent->windowTitle() : QString(),
                        Text(texts, ExtraText::ExportFailed).arg(path, error), QMessageBox::Ok,
                        parent);
    failure.setTextFormat(Qt::PlainText);
    failure.exec();
}

} // namespace kestrun
