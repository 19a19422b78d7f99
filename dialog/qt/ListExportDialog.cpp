#include "ListExportDialog.h"

#include <QFileDialog>
#include <QSaveFile>

namespace kestrun {

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

// Writes through a temporary file in the same folder that only the commit renames into place.
std::optional<QString> WriteWholeFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size &&
        file.commit()) {
        return std::nullopt;
    }
    return file.errorString();
}

} // namespace kestrun
