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

#include "core/gtp/DeadMarks.h"
#include "core/ports/DeadStoneEstimator.h"

namespace zel {

class TBBS2Zel;
class TZelGoMainForm;

// Suggested dead stones at counting: when marking starts, the game is handed
// to an estimator on a worker thread (the window never waits for it); the
// answer is drawn on the board as a suggestion and "자동 지정" appears on
// the window's button. Applying marks the suggested groups as the player's
// own clicks would, so the game messages are the ordinary marking ones.
//
// A second, slower estimator may be given: it is asked on a worker of its
// own as soon as the quick one has answered (or failed), and its answer
// replaces the quick one as long as the player has neither applied a
// suggestion nor changed a mark since the question; otherwise the player's
// marking is left as it is and the quick suggestion stays.
class TDeadStoneAdvisor : public QObject {
    Q_OBJECT
public:
    enum class State { None, Waiting, Shown, Failed };

    // The estimators are used on their worker threads only; `second` may be
    // null (the quick answer is then final). Session and form outlive this.
    TDeadStoneAdvisor(TBBS2Zel& session, TZelGoMainForm& form, std::unique_ptr<DeadStoneEstimator> estimator,
                      std::unique_ptr<DeadStoneEstimator> second = nullptr);
    ~TDeadStoneAdvisor() override;

    // Marking started or goes on: the first call for a position asks the
    // estimators; later calls show the answer again.
    void MarkingStarted();
    // "자동 지정": the suggestion becomes the player's marking.
    void Apply();
    // The session ended or a new one began: nothing is suggested.
    void Clear();

    State CurrentState() const { return state_; }
    // The stones suggested (those still standing and unmarked are drawn).
    const std::vector<std::pair<int, int>>& Suggestion() const { return suggestion_; }
    // True when no other suggestion will follow for this position.
    bool IsFinal() const { return !quickPending_ && !secondPending_; }
    // True when the suggestion shown is the second estimator's.
    bool SecondShown() const { return secondShown_; }
    // Milliseconds from MarkingStarted to the first suggestion shown, and to
    // the second estimator's replacing it; -1 before (or never).
    qint64 LatencyMs() const { return latencyMs_; }
    qint64 SecondLatencyMs() const { return secondLatencyMs_; }
    // Who answered the suggestion shown.
    std::string EstimatorName() const { return name_; }

signals:
    // A suggestion was shown, the first one or its replacement.
    void SuggestionShown();

private:
    struct TJob {
        std::string key;
        TDeadStoneQuery query;
    };
    // One estimator on a thread of its own; it asks about the latest job only.
    struct TWorker {
        std::unique_ptr<DeadStoneEstimator> estimator;
        std::mutex mutex;
        std::condition_variable wake;
        std::optional<TJob> job;
        bool quit = false;
        std::thread thread;
    };
    void Work(TWorker& worker, bool second);
    void Post(TWorker& worker, const TJob& job);
    void Stop(TWorker& worker);
    void Deliver(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead, const std::string& name);
    void DeliverSecond(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead, const std::string& name);
    // True while the player has done nothing a replaced suggestion could upset.
    bool Untouched() const;
    std::string PositionKey() const;
    void Show(std::vector<std::pair<int, int>> dead, const std::string& name);
    void ShowOnBoard();

    TBBS2Zel& session_;
    TZelGoMainForm& form_;
    TWorker quick_;
    TWorker second_;
    std::string name_;

    State state_ = State::None;
    std::string key_; // the position asked about or shown
    TJob secondJob_;  // the question the second estimator gets after the quick answer
    std::vector<std::pair<int, int>> suggestion_;
    bool quickPending_ = false;
    bool secondPending_ = false; // the second estimator's answer is still to come
    bool secondShown_ = false;
    bool applied_ = false;
    TDeadGrid marksAsked_{}; // the dead marks when the question was asked
    std::string markerAsked_;
    QElapsedTimer since_;
    qint64 latencyMs_ = -1;
    qint64 secondLatencyMs_ = -1;
};

} // namespace zel
