#pragma once

#include "AssignView.h"

#include <QObject>

#include <vector>

namespace kestrun {

// Runs a batch on the thread it lives on, reporting each device as soon as its result is
// final. The dialog receives the signals queued, on its own thread.
class AssignWorker : public QObject {
    Q_OBJECT

public:
    explicit AssignWorker(BatchWork work);

public slots:
    void Run();

signals:
    void DeviceDone(const vanmoor::commission::AssignOutcome& outcome, int done);
    void Finished(const std::vector<vanmoor::commission::AssignOutcome>& outcomes);

private:
    const BatchWork m_Work;
};

} // namespace kestrun
