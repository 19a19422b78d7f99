#include "SearchWorker.h"

namespace kestrun {

void SearchWorker::Run(std::function<bool()> work) {
    QMetaObject::invokeMethod(this, [this, work = std::move(work)] { emit Finished(work()); });
}

} // namespace kestrun
