#include "SearchWorker.h"

namespace kestrun {

SearchWorker::SearchWorker(std::function<bool()> search) : m_Search(std::move(search)) {}

void SearchWorker::Run() {
    emit Finished(m_Search());
}

} // namespace kestrun
