#pragma once

#include "BatchAssign.h"
#include "LibraryApi.h"

#include <QObject>

#include <vector>

namespace kestrun {

// Runs a batch on the thread it lives on: sends, searches again and resends through the
// library, reporting each device as soon as its result is final. The dialog receives the
// signals queued, on its own thread.
class AssignWorker : public QObject {
    Q_OBJECT

public:
    // Resends to a device that does not show its settings yet, as often as the command line
    // does by default.
    static constexpr int kRetries = 2;

    AssignWorker(const LibraryApi& api, std::vector<vanmoor::commission::PlannedDevice> plan,
                 vanmoor::commission::Credentials credentials);

public slots:
    void Run();

signals:
    void DeviceDone(const vanmoor::commission::AssignOutcome& outcome, int done);
    void Finished(const std::vector<vanmoor::commission::AssignOutcome>& outcomes);

private:
    const LibraryApi& m_Api;
    const std::vector<vanmoor::commission::PlannedDevice> m_Plan;
    const vanmoor::commission::Credentials m_Credentials;
};

} // namespace kestrun
