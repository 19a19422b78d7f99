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
        QFileDialog dialog(parent, caption, QString(), filters.join(QStringLiteral(";;")));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The file dialog adds the chosen format's extension itself, so that it asks before
        // replacing the file that is really written.
        const auto followFilter = [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.json"))
                                        ? QStringLiteral("json")
                                        : QStringLiteral("csv"));
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
        dialog.selectNameFilter(chosenFilter);
        followFilter(chosenFilter);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return QString();
        }
        chosenFilter = dialog.selectedNameFilter();
        return dialog.selectedFiles().constFirst();
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
    const QString chosenPath = chooseFile(parent, caption, {csvFilter, jsonFilter}, chosenFilter);
    if (chosenPath.isEmpty()) {
        return;
    }
    const OutputFormat format =
        ExportFormatFor(chosenPath.toStdString(),
                        chosenFilter == jsonFilter ? OutputFormat::Json : OutputFormat::Csv);
    const QString path = QString::fromStdString(ExportFileName(chosenPath.toStdString(), format));
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
