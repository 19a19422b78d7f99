#pragma once

#include <QObject>

#include <functional>

namespace kestrun {

// Runs the blocking part of a search on the thread it lives on and reports the result. It only
// calls the function it was given and emits Finished(); the dialog reacts on its own thread.
class SearchWorker : public QObject {
    Q_OBJECT

public:
    // Queues `work` to run on the worker's thread.
    void Run(std::function<bool()> work);

signals:
    void Finished(bool result);
};

} // namespace kestrun
