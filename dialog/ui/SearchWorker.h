#pragma once

#include <QObject>

#include <functional>

namespace kestrun {

// Runs the blocking part of a search on the thread it lives on and reports the result. It only
// calls the function it was given and emits Finished(); the dialog reacts on its own thread.
class SearchWorker : public QObject {
    Q_OBJECT

public:
    explicit SearchWorker(std::function<bool()> search);

public slots:
    void Run();

signals:
    void Finished(bool searched);

private:
    std::function<bool()> m_Search;
};

} // namespace kestrun
