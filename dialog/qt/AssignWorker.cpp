#include "AssignWorker.h"

#include "LibraryLink.h"

namespace kestrun {

using vanmoor::commission::AssignOutcome;

AssignWorker::AssignWorker(const LibraryApi& api,
                           std::vector<vanmoor::commission::PlannedDevice> plan,
                           vanmoor::commission::Credentials credentials)
    : m_Api(api), m_Plan(std::move(plan)), m_Credentials(std::move(credentials)) {}

void AssignWorker::Run() {
    LibraryLink link(m_Api);
    vanmoor::commission::BatchAssign batch(link, m_Credentials, kRetries);
    emit Finished(
        batch.Apply(m_Plan, [this](const AssignOutcome& outcome, std::size_t done, std::size_t) {
            emit DeviceDone(outcome, static_cast<int>(done));
        }));
}

} // namespace kestrun
