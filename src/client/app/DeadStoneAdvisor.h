#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/ports/DeadStoneEstimator.h"

namespace zel {

class TBBS2Zel;
class TZelGoMainForm;

// Suggested dead stones at counting: when marking starts, the game is handed
// to an estimator on a worker thread (the window never waits for it); the
// answer is drawn on the board as a suggestion and "자동 지정" appears on
// the window's button. Applying marks the suggested groups as the player's
// own clicks would, so the game messages are the ordinary marking ones.
class TDeadStoneAdvisor : public QObject {
    Q_OBJECT
public:
    enum class State { None, Waiting, Shown, Failed };

    // `estimator` is used on the worker thread only. Session and form outlive this.
    TDeadStoneAdvisor(TBBS2Zel& session, TZelGoMainForm& form, std::unique_ptr<DeadStoneEstimator> estimator);
    ~TDeadStoneAdvisor() override;

    // Marking started or goes on: the first call for a position asks the
    // estimator; later calls show the answer again.
    void MarkingStarted();
    // "자동 지정": the suggestion becomes the player's marking.
    void Apply();
    // The session ended or a new one began: nothing is suggested.
    void Clear();

    State CurrentState() const { return state_; }
    // The stones suggested (those still standing and unmarked are drawn).
    const std::vector<std::pair<int, int>>& Suggestion() const { return suggestion_; }
    // Milliseconds from MarkingStarted to the suggestion shown; -1 before.
    qint64 LatencyMs() const { return latencyMs_; }
    std::string EstimatorName() const { return name_; }

signals:
    void SuggestionShown();

private:
    struct TJob {
        std::string key;
        TDeadStoneQuery query;
    };
    void Work();
    void Deliver(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead);
    std::string PositionKey() const;
    void ShowOnBoard();

    TBBS2Zel& session_;
    TZelGoMainForm& form_;
    std::unique_ptr<DeadStoneEstimator> estimator_;
    std::string name_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<TJob> job_; // waiting for the worker
    bool quit_ = false;
    std::thread worker_;

    State state_ = State::None;
    std::string key_; // the position asked about or shown
    std::vector<std::pair<int, int>> suggestion_;
    QElapsedTimer since_;
    qint64 latencyMs_ = -1;
};

} // namespace zel
