#include "AssignWorker.h"

namespace kestrun {

AssignWorker::AssignWorker(BatchWork work) : m_Work(std::move(work)) {}

void AssignWorker::Run() {
    emit Finished(
        m_Work([this](const AssignOutcome& outcome, int done) { emit DeviceDone(outcome, done); }));
}

} // namespace kestrun
