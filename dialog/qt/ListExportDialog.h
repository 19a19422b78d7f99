#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kestrun {

// Asks where to save: given the caption and the filters, returns the file name (empty when
// cancelled) and sets `chosenFilter` to the filter picked. Tests hand in their own.
using SaveFileChooser = std::function<QString(QWidget* parent, const QString& caption,
                                              const QStringList& filters, QString& chosenFilter)>;

// The desktop's file dialog.
SaveFileChooser FileDialogChooser();

// Replaces the file at `path` with `bytes` whole or not at all; the reason when it could not.
std::optional<QString> WriteWholeFile(const QString& path, const std::string& bytes);

} // namespace kestrun
