#pragma once

#include "DeviceList.h"
#include "ExtraTextTable.h"
#include "LibraryApi.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace kestrun {

// Asks where to save: given the caption and the filters, returns the file name (empty when
// cancelled) and sets `chosenFilter` to the filter picked. Tests hand in their own.
using SaveFileChooser = std::function<QString(QWidget* parent, const QString& caption,
                                              const QStringList& filters, QString& chosenFilter)>;

// The desktop's file dialog.
SaveFileChooser FileDialogChooser();

// "Export list...": asks for a file and writes the devices of `list`, in the order shown, as CSV
// or JSON. The file is replaced whole or not at all; a failure is reported in a message box.
void ExportDeviceList(QWidget* parent, const LibraryApi& api, const DeviceList& list,
                      const ExtraTextTable& texts, const SaveFileChooser& chooseFile);

} // namespace kestrun
